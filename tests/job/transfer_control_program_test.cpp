#include "job/transfer_control_program.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/case_name.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using testing::StepFixture;
using SubState = TransferControlProgram::SubState;

std::unique_ptr<ControlProgram> MakeProgram(std::uint32_t length) {
  auto p = std::make_unique<ControlProgram>();
  p->length = length;
  for (std::uint32_t i = 0; i < length; ++i) p->bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return p;
}

StepResult RunToEnd(StepFixture& f, TransferControlProgram& op, int maxTicks = 5000) {
  return f.RunToEnd(op, maxTicks);
}

// A target that echoes every byte and answers the erase with `eraseAnswer` (-1: never).
void EchoEverything(StepFixture& f, std::uint32_t length, int eraseAnswer) {
  f.line.responder = [length, eraseAnswer](std::uint8_t b, testing::ScriptedDevice::State& s) {
    s.Feed({b});
    if (eraseAnswer >= 0 && s.written.size() == length + 2)
      s.Feed({static_cast<std::uint8_t>(eraseAnswer)});
  };
}

TEST(TransferControlProgram, SendsLengthHighFirstThenChunksOfSixteen) {
  StepFixture f;
  auto program = MakeProgram(291);
  TransferControlProgram op(f.ctx, *program);
  EchoEverything(f, 291, 0xAA);
  op.Run(PhaseStart);

  std::vector<std::size_t> perTick;
  StepResult r = StepBusy;
  for (int i = 0; i < 200 && r == StepBusy; ++i) {
    const std::size_t before = f.line.written.size();
    r = f.Tick(op);
    if (f.line.written.size() != before) perTick.push_back(f.line.written.size() - before);
  }
  EXPECT_EQ(r, StepDone);

  std::vector<std::size_t> expectedTicks = {2};
  expectedTicks.insert(expectedTicks.end(), 18, 16);
  expectedTicks.push_back(3);
  EXPECT_EQ(perTick, expectedTicks);
  std::vector<std::uint8_t> expected = {0x01, 0x23};
  expected.insert(expected.end(), program->bytes.begin(), program->bytes.begin() + 291);
  EXPECT_EQ(f.line.written, expected);
  EXPECT_EQ(op.ControlBytesSent(), 291u);
  EXPECT_TRUE(f.host.events.empty());
}

TEST(TransferControlProgram, NextChunkWaitsForTheWholeEchoOfThePrevious) {
  StepFixture f;
  auto program = MakeProgram(40);
  TransferControlProgram op(f.ctx, *program);
  op.Run(PhaseStart);
  f.Tick(op);
  f.line.Feed({0x00, 0x28});
  f.Tick(op);
  f.Tick(op);
  f.Tick(op);  // first chunk out
  ASSERT_EQ(f.line.written.size(), 2u + 16u);
  EXPECT_EQ(op.ControlBytesSent(), 16u);

  f.line.Feed(std::span<const std::uint8_t>(program->bytes.data(), 15));
  for (int i = 0; i < 5; ++i) f.Tick(op);
  EXPECT_EQ(f.line.written.size(), 2u + 16u);
  EXPECT_EQ(op.subState(), SubState::AwaitChunkEcho);

  f.line.Feed({program->bytes[15]});
  f.Tick(op);  // the last echo arrives: the next chunk is decided
  f.Tick(op);  // and sent
  EXPECT_EQ(f.line.written.size(), 2u + 32u);
  EXPECT_EQ(op.ControlBytesSent(), 32u);
}

struct TransferFailure {
  const char* name;
  const char* text;
  bool echoHigh;
  bool echoLow;
  int corruptEcho;  // index of the program byte whose echo is wrong, -1 none
  int eraseAnswer;  // -1 never
  std::uint32_t failsAfterMs;
};

class TransferControlProgramFailure : public ::testing::TestWithParam<TransferFailure> {};

TEST_P(TransferControlProgramFailure, ShowsItsCauseOnTheCallAfterDetection) {
  const auto& c = GetParam();
  StepFixture f;
  auto program = MakeProgram(20);
  TransferControlProgram op(f.ctx, *program);
  f.line.responder = [&](std::uint8_t b, testing::ScriptedDevice::State& s) {
    const std::size_t k = s.written.size() - 1;
    if (k == 0 && !c.echoHigh) return;
    if (k == 1 && !c.echoLow) return;
    if (k >= 2 && static_cast<int>(k - 2) == c.corruptEcho) b = static_cast<std::uint8_t>(b ^ 0x40);
    s.Feed({b});
    if (k == 21 && c.eraseAnswer >= 0) s.Feed({static_cast<std::uint8_t>(c.eraseAnswer)});
  };
  const std::uint32_t start = f.clock.NowMs();
  op.Run(PhaseStart);

  EXPECT_EQ(RunToEnd(f, op), StepFailed);
  EXPECT_EQ(f.clock.NowMs() - start, c.failsAfterMs);
  const std::vector<std::string> expected = {
      "beep", std::string("box:　書き込み制御 MOTの転送失敗　") + c.text + "  "};
  EXPECT_EQ(f.host.events, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, TransferControlProgramFailure,
    ::testing::Values(
        TransferFailure{"LengthHighEchoWrong", "AddrH Echo Error", false, false, -1, -1, 520},
        TransferFailure{"LengthLowEchoWrong", "AddrL Echo Error", true, false, -1, -1, 520},
        // the wrong byte is dropped and its right echo never comes
        TransferFailure{"ProgramEchoWrongEarly", "Data Echo TimeUp", true, true, 5, -1, 550},
        TransferFailure{"ProgramEchoWrongLate", "Data Echo TimeUp", true, true, 19, -1, 570},
        TransferFailure{"EraseAnswerWrong", "Ans != 0xaa    ", true, true, -1, 0x55, 90},
        TransferFailure{"EraseAnswerMissing", "Ans 0xaa TimeUp", true, true, -1, -1, 30080}),
    testing::CaseName());

struct EraseDisplay {
  std::int32_t elapsedMs;
  const char* status;
};

class TransferControlProgramEraseWait : public ::testing::TestWithParam<EraseDisplay> {};

TEST_P(TransferControlProgramEraseWait, ShowsWholeSecondsRightAligned) {
  StepFixture f;
  auto program = MakeProgram(4);
  TransferControlProgram op(f.ctx, *program);
  EchoEverything(f, 4, -1);
  op.Run(PhaseStart);
  while (op.subState() != SubState::AwaitErase) ASSERT_EQ(f.Tick(op), StepBusy);
  const std::uint32_t eraseStart = f.clock.NowMs();

  f.clock.Set(eraseStart + static_cast<std::uint32_t>(GetParam().elapsedMs));
  op.Run(PhaseContinue);
  EXPECT_EQ(f.controls.Panel5.caption, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Seconds, TransferControlProgramEraseWait,
                         ::testing::Values(EraseDisplay{10, "消去完了待ち　 0/30 [秒]"},
                                           EraseDisplay{9990, "消去完了待ち　 9/30 [秒]"},
                                           EraseDisplay{10000, "消去完了待ち　10/30 [秒]"},
                                           EraseDisplay{29999, "消去完了待ち　29/30 [秒]"},
                                           EraseDisplay{30000, "消去完了待ち　30/30 [秒]"},
                                           EraseDisplay{45000, "消去完了待ち　30/30 [秒]"}),
                         [](const auto& info) {
                           return "After" + std::to_string(info.param.elapsedMs) + "Ms";
                         });

}  // namespace
}  // namespace vantrel
