#include "job/adjust_bit_rate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/case_name.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using testing::StepFixture;
using SubState = AdjustBitRate::SubState;

const std::vector<std::string> kFailureEvents = {"beep",
                                                 "box: ビットレートの調整が出来ませんでした "};

// Ticks until the operation stops being busy; returns its result.
StepResult RunToEnd(StepFixture& f, AdjustBitRate& op, int maxTicks = 500) {
  return f.RunToEnd(op, maxTicks);
}

std::vector<std::uint8_t> Zeros(std::size_t n) {
  return std::vector<std::uint8_t>(n, 0x00);
}

TEST(AdjustBitRate, SilentTargetGetsFiftyZerosAndNoHandshake) {
  StepFixture f;
  bool inquiry = false;
  AdjustBitRate op(f.ctx, inquiry);
  const std::uint32_t start = f.clock.NowMs();
  op.Run(PhaseStart);

  EXPECT_EQ(RunToEnd(f, op), StepFailed);
  // One zero per tick across the 500 ms window; the failure shows on the call after it closes.
  EXPECT_EQ(f.line.written, Zeros(50));
  EXPECT_EQ(f.clock.NowMs() - start, 520u);
  EXPECT_EQ(f.host.events, kFailureEvents);
}

TEST(AdjustBitRate, StaleInputCannotPassForTheLoadersAnswer) {
  StepFixture f;
  bool inquiry = false;
  AdjustBitRate op(f.ctx, inquiry);
  f.line.Feed(Zeros(100));  // waiting in the port before the job began
  op.Run(PhaseStart);

  EXPECT_EQ(RunToEnd(f, op), StepFailed);
  EXPECT_EQ(f.line.written, Zeros(50));
  EXPECT_EQ(f.host.events, kFailureEvents);
}

struct ZeroArrival {
  int tick;  // the answer 0x00 is there for this tick in the zero-sending phase
  bool handshakeSent;
  SubState after;
};

class AdjustBitRateZeroTiming : public ::testing::TestWithParam<ZeroArrival> {};

TEST_P(AdjustBitRateZeroTiming, ZeroInTheTickTheWindowClosesDoesNotCount) {
  StepFixture f;
  bool inquiry = false;
  AdjustBitRate op(f.ctx, inquiry);
  op.Run(PhaseStart);
  f.Tick(op);  // drops stale input, starts the 500 ms window
  for (int i = 1; i < GetParam().tick; ++i) ASSERT_EQ(f.Tick(op), StepBusy);
  f.line.Feed({0x00});
  f.Tick(op);
  EXPECT_EQ(op.subState(), GetParam().after);
  // The tick that took the 0x00 still sends its own zero.
  EXPECT_EQ(f.line.written, Zeros(static_cast<std::size_t>(GetParam().tick)));
  f.Tick(op);
  const bool sent55 = !f.line.written.empty() && f.line.written.back() == 0x55;
  EXPECT_EQ(sent55, GetParam().handshakeSent);
}

INSTANTIATE_TEST_SUITE_P(Ticks, AdjustBitRateZeroTiming,
                         ::testing::Values(
                             // Before the first zero has gone out it is noise from the open.
                             ZeroArrival{1, false, SubState::SendZeros},
                             ZeroArrival{2, true, SubState::SendHandshake},
                             ZeroArrival{49, true, SubState::SendHandshake},
                             ZeroArrival{50, false, SubState::Failed}),
                         [](const auto& info) { return "Tick" + std::to_string(info.param.tick); });

struct HandshakeCase {
  const char* name;
  bool inquiry;
  std::uint8_t answer;
  StepResult result;
};

class AdjustBitRateHandshake : public ::testing::TestWithParam<HandshakeCase> {};

TEST_P(AdjustBitRateHandshake, OnlyTheProtocolsOwnAnswerCompletesTheHandshake) {
  const auto& c = GetParam();
  StepFixture f;
  bool inquiry = c.inquiry;
  AdjustBitRate op(f.ctx, inquiry);
  std::uint32_t handshakeAt = 0;
  int zerosSeen = 0;
  f.line.responder = [&](std::uint8_t b, testing::ScriptedDevice::State& s) {
    if (b == 0x00 && ++zerosSeen == 3) s.Feed({0x00});
    if (b == 0x55) {
      handshakeAt = f.clock.NowMs();
      s.Feed({c.answer});
    }
  };
  op.Run(PhaseStart);

  EXPECT_EQ(RunToEnd(f, op), c.result);
  std::vector<std::uint8_t> expected = Zeros(4);
  expected.push_back(0x55);
  EXPECT_EQ(f.line.written, expected);
  if (c.result == StepDone) {
    EXPECT_TRUE(f.host.events.empty());
  } else {
    // A wrong answer is dropped; only the 1000 ms window ends the wait.
    EXPECT_EQ(f.clock.NowMs() - handshakeAt, 1010u);
    EXPECT_EQ(f.host.events, kFailureEvents);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, AdjustBitRateHandshake,
                         ::testing::Values(HandshakeCase{"ClassicAA", false, 0xAA, StepDone},
                                           HandshakeCase{"InquiryE6", true, 0xE6, StepDone},
                                           HandshakeCase{"ClassicE6", false, 0xE6, StepFailed},
                                           HandshakeCase{"InquiryAA", true, 0xAA, StepFailed}),
                         testing::CaseName());

TEST(AdjustBitRate, ReadsTheProtocolFlagAsItIsWhenTheJobRuns) {
  StepFixture f;
  bool inquiry = false;
  AdjustBitRate op(f.ctx, inquiry);
  f.line.responder = [](std::uint8_t b, testing::ScriptedDevice::State& s) {
    s.Feed({static_cast<std::uint8_t>(b == 0x55 ? 0xE6 : 0x00)});
  };
  inquiry = true;  // the loader decides the protocol after the operation was built
  op.Run(PhaseStart);
  EXPECT_EQ(RunToEnd(f, op), StepDone);
}

}  // namespace
}  // namespace vantrel
