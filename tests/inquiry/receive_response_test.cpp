#include "inquiry/receive_response.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_boot_loader.h"
#include "support/case_name.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using testing::Frame;
using State = ReceiveResponse::State;

struct GuardedBuffer {
  ResponseBuffer buffer{};
  std::array<std::uint8_t, 64> guard{};
};
static_assert(sizeof(GuardedBuffer) == kResponseBufferSize + 64);

class ReceiveResponseTest : public ::testing::Test {
 protected:
  // Calls with PhaseContinue until the receive ends; the calls made, or -1 when it never ends.
  int Finish(bool twoByteSize, StepResult& result, int limit = 300) {
    for (int call = 1; call <= limit; ++call) {
      fx.clock.Advance(10);
      result = rx.Run(PhaseContinue, twoByteSize);
      if (result != StepBusy) return call;
    }
    return -1;
  }

  // One timer tick.
  StepResult Call(bool twoByteSize) {
    fx.clock.Advance(10);
    return rx.Run(PhaseContinue, twoByteSize);
  }

  testing::StepFixture fx;
  GuardedBuffer mem;
  ReceiveResponse rx{fx.ctx, mem.buffer};
};

TEST_F(ReceiveResponseTest, WriteSizeFrameIsAcceptedInSixCallsWithTheChecksumZeroed) {
  fx.line.Feed({0x37, 0x02, 0x00, 0x80, 0x47});
  EXPECT_EQ(rx.Run(PhaseStart, false), StepBusy);
  StepResult result{};
  EXPECT_EQ(Finish(false, result), 6);
  EXPECT_EQ(result, StepDone);
  const std::vector<std::uint8_t> stored(mem.buffer.begin(), mem.buffer.begin() + 5);
  EXPECT_EQ(stored, (std::vector<std::uint8_t>{0x37, 0x02, 0x00, 0x80, 0x00}));
}

class BadChecksumTest : public ReceiveResponseTest,
                        public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(BadChecksumTest, FailsOnTheCallAfterTheLastByte) {
  fx.line.Feed({0x37, 0x02, 0x00, 0x80, GetParam()});
  rx.Run(PhaseStart, false);
  for (int call = 1; call <= 5; ++call) ASSERT_EQ(Call(false), StepBusy);
  // The sixth call reads the bad checksum and still says busy.
  EXPECT_EQ(rx.Run(PhaseContinue, false), StepBusy);
  EXPECT_EQ(rx.subState(), State::Failed);
  EXPECT_EQ(rx.Run(PhaseContinue, false), StepFailed);
}

INSTANTIATE_TEST_SUITE_P(OtherLastBytes, BadChecksumTest,
                         ::testing::Values(0x00, 0x46, 0x48, 0x74, 0xFF),
                         [](const auto& info) { return testing::HexName("Last", info.param); });

TEST_F(ReceiveResponseTest, EmptyFrameEndsAfterCodeSizeAndChecksum) {
  fx.line.Feed({0x30, 0x00, 0xD0});
  rx.Run(PhaseStart, false);
  StepResult result{};
  EXPECT_EQ(Finish(false, result), 6);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(mem.buffer[2], 0);
}

TEST_F(ReceiveResponseTest, TwoByteSizeOf0102Means258DataBytes) {
  std::vector<std::uint8_t> data(258);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 1);
  fx.line.Feed(Frame(0x36, data, true));
  mem.buffer.fill(0xAA);
  rx.Run(PhaseStart, false);
  StepResult result{};
  Finish(true, result);
  ASSERT_EQ(result, StepDone);
  EXPECT_EQ(rx.expectedSize(), 258);
  EXPECT_EQ(rx.keptSize(), 258);
  EXPECT_EQ(mem.buffer[1], 0x01);
  EXPECT_EQ(mem.buffer[2], 0x02);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), mem.buffer.begin() + 3));
  EXPECT_EQ(mem.buffer[3 + 258], 0);
}

TEST_F(ReceiveResponseTest, TheSizeWidthIsTakenFromEachCallNotFromTheStart) {
  fx.line.Feed(Frame(0x36, {1, 2, 3}, true));
  rx.Run(PhaseStart, false);
  StepResult result{};
  Finish(true, result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(rx.expectedSize(), 3);
}

TEST_F(ReceiveResponseTest, SilenceFailsAfterOneSecondReportedOneCallLater) {
  rx.Run(PhaseStart, false);
  fx.clock.Advance(10);
  ASSERT_EQ(rx.Run(PhaseContinue, false), StepBusy);  // starts the 1000 ms
  fx.clock.Advance(990);
  EXPECT_EQ(rx.Run(PhaseContinue, false), StepBusy);
  EXPECT_EQ(rx.subState(), State::Code);
  fx.clock.Advance(10);
  EXPECT_EQ(rx.Run(PhaseContinue, false), StepBusy);
  EXPECT_EQ(rx.subState(), State::Failed);
  EXPECT_EQ(rx.Run(PhaseContinue, false), StepFailed);
}

TEST_F(ReceiveResponseTest, FrameStillArrivingAfterOneSecondFails) {
  // A good frame, trickling in one byte per tick: 100 ticks are not enough for 104 bytes.
  const auto frame = Frame(0x32, std::vector<std::uint8_t>(100, 0x11));
  rx.Run(PhaseStart, false);
  StepResult result = StepBusy;
  std::size_t sent = 0;
  int calls = 0;
  while (result == StepBusy && calls < 200) {
    if (sent < frame.size()) fx.line.Feed({frame[sent++]});
    result = Call(false);
    ++calls;
  }
  EXPECT_EQ(result, StepFailed);
  EXPECT_LT(sent, frame.size());
  EXPECT_EQ(calls, 102);  // time-out seen on call 101, reported on call 102
}

class DataCallsTest : public ReceiveResponseTest,
                      public ::testing::WithParamInterface<std::pair<int, int>> {};

// With every byte already waiting, one call takes at most 200 data bytes.
TEST_P(DataCallsTest, DataStateTakesOneCallPer200Bytes) {
  const auto [size, dataCalls] = GetParam();
  fx.line.Feed(Frame(0x36, std::vector<std::uint8_t>(size, 0x01), true));
  rx.Run(PhaseStart, false);
  for (int call = 0; call < 4; ++call) Call(true);  // time-out, code, two size bytes
  for (int call = 1; call < dataCalls; ++call) {
    Call(true);
    ASSERT_EQ(rx.subState(), State::Data) << "data call " << call;
  }
  Call(true);
  EXPECT_EQ(rx.subState(), State::Checksum);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DataCallsTest,
                         ::testing::Values(std::pair{1, 1}, std::pair{200, 1}, std::pair{201, 2},
                                           std::pair{400, 2}, std::pair{401, 3}),
                         [](const auto& info) {
                           return "Bytes" + std::to_string(info.param.first);
                         });

TEST_F(ReceiveResponseTest, FrameLongerThanTheBufferIsCheckedAndCutWithoutOverrun) {
  // 1024 data bytes + code + two size bytes would need 1028 bytes with the terminator.
  std::vector<std::uint8_t> data(1024);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i | 1);
  fx.line.Feed(Frame(0x36, data, true));
  rx.Run(PhaseStart, false);
  StepResult result{};
  Finish(true, result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(rx.expectedSize(), 1024);
  EXPECT_EQ(rx.keptSize(), 1020);
  EXPECT_TRUE(rx.truncated());
  EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1020, mem.buffer.begin() + 3));
  EXPECT_EQ(mem.buffer[1023], 0);
  for (auto g : mem.guard) ASSERT_EQ(g, 0);
}

TEST_F(ReceiveResponseTest, OversizedFrameWithBadChecksumStillFails) {
  auto frame = Frame(0x36, std::vector<std::uint8_t>(2000, 0x5A), true);
  frame.back() ^= 0x01;
  fx.line.Feed(frame);
  rx.Run(PhaseStart, false);
  StepResult result{};
  Finish(true, result);
  EXPECT_EQ(result, StepFailed);
  for (auto g : mem.guard) ASSERT_EQ(g, 0);
}

TEST_F(ReceiveResponseTest, FailedReceiveStartsAfreshOnPhaseStart) {
  fx.line.Feed({0x37, 0x02, 0x00, 0x80, 0x00});
  rx.Run(PhaseStart, false);
  StepResult result{};
  Finish(false, result);
  ASSERT_EQ(result, StepFailed);
  fx.line.Feed({0x37, 0x02, 0x01, 0x00, 0xC6});
  rx.Run(PhaseStart, false);
  Finish(false, result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(mem.buffer[2], 0x01);
}

}  // namespace
}  // namespace vantrel
