#include "job/write_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "job/job_image.h"
#include "support/case_name.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using testing::MakeImage;
using testing::MarkBlock;
using testing::StepFixture;
using Bytes = std::vector<std::uint8_t>;
using SubState = WriteBlocks::SubState;

// The target's side: splits what the host sends into commands and answers each from a script
// (-1 in the script: no answer). Without a script entry every command gets the success answer.
struct BlockTarget {
  BlockTarget(StepFixture& f, bool inquiry, std::uint16_t blockSize) {
    f.line.responder = [this, inquiry, blockSize](std::uint8_t b,
                                                  testing::ScriptedDevice::State& s) {
      pending.push_back(b);
      std::size_t size = inquiry ? 6u + blockSize : 4u + blockSize;
      if (inquiry && pending.size() >= 5 && pending[1] == 0xFF && pending[2] == 0xFF &&
          pending[3] == 0xFF && pending[4] == 0xFF)
        size = 6;
      if (pending.size() < size) return;
      commands.push_back(pending);
      pending.clear();
      int answer = inquiry ? 0x06 : 0xAA;
      if (!script.empty()) {
        answer = script.front();
        script.pop_front();
      }
      if (answer >= 0) s.Feed({static_cast<std::uint8_t>(answer)});
    };
  }
  std::vector<Bytes> commands;
  Bytes pending;  // bytes after the last whole command
  std::deque<int> script;
};

struct Writer {
  explicit Writer(bool inquiryMode) : inquiry(inquiryMode) {}
  StepFixture f;
  bool inquiry;
  std::unique_ptr<ProgramImage> image = MakeImage();
  BlockProgress progress;
  WriteBlocks op{f.ctx, inquiry, *image, progress};

  StepResult RunToEnd(int maxTicks = 1000) { return f.RunToEnd(op, maxTicks); }
  // The end step's loop: no ticks, only the clock running on.
  StepResult Finish(int maxCalls = 100000) {
    for (int i = 0; i < maxCalls; ++i) {
      f.clock.Advance(1);
      const StepResult r = op.Run(PhaseFinish);
      if (r != StepBusy) return r;
    }
    return StepBusy;
  }
};

Bytes Concat(std::initializer_list<std::uint8_t> head, std::span<const std::uint8_t> data) {
  Bytes out(head);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

const Bytes kEndFrame = {0x50, 0xFF, 0xFF, 0xFF, 0xFF, 0xB4};

TEST(WriteBlocks, ClassicSendsOnlyMarkedBlocksWithThreeAddressBytesLeastFirst) {
  Writer w(false);
  w.f.fields.RomBaseAddr = 0x12FE0000;  // bits 31 to 24 never travel
  MarkBlock(*w.image, 2, 128);
  MarkBlock(*w.image, 5, 128);
  BlockTarget target(w.f, false, 128);
  w.op.Run(PhaseStart);
  EXPECT_EQ(w.progress.BlocksTotal, 2u);

  EXPECT_EQ(w.RunToEnd(), StepDone);
  const auto& mem = w.image->memory.bytes;
  ASSERT_EQ(target.commands.size(), 2u);
  EXPECT_EQ(target.commands[0],
            Concat({0x55, 0x00, 0x01, 0xFE}, std::span(mem).subspan(0x100, 128)));
  EXPECT_EQ(target.commands[1],
            Concat({0x55, 0x80, 0x02, 0xFE}, std::span(mem).subspan(0x280, 128)));
  EXPECT_TRUE(target.pending.empty());
  EXPECT_EQ(w.progress.BlocksDone, 2u);
  EXPECT_EQ(w.f.controls.Panel5.caption, "書き込み中：Address = 12FE0280H");
  EXPECT_TRUE(w.f.host.events.empty());
}

TEST(WriteBlocks, InquiryFrameForAddress100HoldsDataAndChecksumThenTheEndFrame) {
  Writer w(true);
  w.image->blocks.flags[2] = 1;  // block at 0x100, all 0xFF
  BlockTarget target(w.f, true, 128);
  w.op.Run(PhaseStart);

  EXPECT_EQ(w.RunToEnd(), StepDone);
  ASSERT_EQ(target.commands.size(), 2u);
  Bytes frame = {0x50, 0x00, 0x00, 0x01, 0x00};
  frame.insert(frame.end(), 128, 0xFF);
  frame.push_back(0x2F);
  EXPECT_EQ(target.commands[0].size(), 134u);
  EXPECT_EQ(target.commands[0], frame);
  EXPECT_EQ(target.commands[1], kEndFrame);
  EXPECT_EQ(w.f.controls.Panel5.caption, "書き込み中：Address = 000100H");
}

TEST(WriteBlocks, InquiryFramesSumToZeroWithBlockSize256) {
  Writer w(true);
  w.f.fields.BlockSize = 256;
  w.f.fields.RomBaseAddr = 0xFFF80000;
  MarkBlock(*w.image, 7, 256);
  BlockTarget target(w.f, true, 256);
  w.op.Run(PhaseStart);

  EXPECT_EQ(w.RunToEnd(), StepDone);
  ASSERT_EQ(target.commands.size(), 2u);
  const Bytes& frame = target.commands[0];
  ASSERT_EQ(frame.size(), 262u);
  EXPECT_EQ(Bytes(frame.begin(), frame.begin() + 5), (Bytes{0x50, 0xFF, 0xF8, 0x07, 0x00}));
  std::uint8_t sum = 0;
  for (auto b : frame) sum = static_cast<std::uint8_t>(sum + b);
  EXPECT_EQ(sum, 0);
}

TEST(WriteBlocks, OneByteAt1FFWithBlockSize256WritesOneBlockAt100) {
  Writer w(false);
  w.f.fields.BlockSize = 256;
  w.image->memory.bytes[0x1FF] = 0x5A;
  w.image->blocks.flags[1] = 1;  // as the loader marks it
  BlockTarget target(w.f, false, 256);
  w.op.Run(PhaseStart);

  EXPECT_EQ(w.RunToEnd(), StepDone);
  ASSERT_EQ(target.commands.size(), 1u);
  Bytes expected = {0x55, 0x00, 0x01, 0x00};
  expected.insert(expected.end(), 255, 0xFF);
  expected.push_back(0x5A);
  EXPECT_EQ(target.commands[0], expected);
}

struct EmptyMapCase {
  const char* name;
  bool inquiry;
  int endAnswer;  // -1 none
  StepResult result;
  Bytes written;
  std::vector<std::string> events;
};

class WriteBlocksEmptyMap : public ::testing::TestWithParam<EmptyMapCase> {};

TEST_P(WriteBlocksEmptyMap, NothingToWrite) {
  const auto& c = GetParam();
  Writer w(c.inquiry);
  BlockTarget target(w.f, c.inquiry, 128);
  target.script = {c.endAnswer};
  w.op.Run(PhaseStart);
  EXPECT_EQ(w.progress.BlocksTotal, 0u);

  EXPECT_EQ(w.RunToEnd(), c.result);
  EXPECT_EQ(w.f.line.written, c.written);
  EXPECT_EQ(w.f.host.events, c.events);
}

INSTANTIATE_TEST_SUITE_P(
    Protocols, WriteBlocksEmptyMap,
    ::testing::Values(EmptyMapCase{"EndAcknowledged", true, 0x06, StepDone, kEndFrame, {}},
                      EmptyMapCase{"EndUnanswered",
                                   true,
                                   -1,
                                   StepFailed,
                                   kEndFrame,
                                   {"beep", "box:　書き込み異常　Ans=FFFFFFFFH　"}},
                      EmptyMapCase{"EndRefused",
                                   true,
                                   0x15,
                                   StepFailed,
                                   kEndFrame,
                                   {"beep", "box:　書き込み異常　Ans=15H　"}}),
    testing::CaseName());

TEST(WriteBlocks, ClassicEmptyMapIsDoneOnTheFirstCall) {
  Writer w(false);
  w.op.Run(PhaseStart);
  EXPECT_EQ(w.f.Tick(w.op), StepDone);
  EXPECT_TRUE(w.f.line.written.empty());
}

struct AnswerCase {
  const char* name;
  bool inquiry;
  int answer;  // to the first block; -1 none
  const char* box;
  std::uint32_t failsAfterMs;  // from the first block's sending
};

class WriteBlocksBadAnswer : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(WriteBlocksBadAnswer, EndsTheJobWithTheAnswerInTheMessage) {
  const auto& c = GetParam();
  Writer w(c.inquiry);
  MarkBlock(*w.image, 0, 128);
  MarkBlock(*w.image, 1, 128);
  BlockTarget target(w.f, c.inquiry, 128);
  target.script = {c.answer};
  w.op.Run(PhaseStart);
  w.f.Tick(w.op);
  ASSERT_EQ(target.commands.size(), 1u);
  const std::uint32_t sentAt = w.f.clock.NowMs();

  EXPECT_EQ(w.RunToEnd(), StepFailed);
  EXPECT_EQ(w.f.clock.NowMs() - sentAt, c.failsAfterMs);
  EXPECT_EQ(target.commands.size(), 1u);  // the second block never goes out
  // The classic write-control program is told the job is over; the boot loader is not.
  EXPECT_EQ(target.pending, c.inquiry ? Bytes{} : Bytes{0xFF});
  EXPECT_EQ(w.f.host.events, (std::vector<std::string>{"beep", std::string("box:") + c.box}));
  EXPECT_EQ(w.op.subState(), SubState::SendBlock);
  EXPECT_EQ(w.progress.BlocksDone, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WriteBlocksBadAnswer,
    ::testing::Values(AnswerCase{"ClassicNak", false, 0x15, "　書き込み異常　Ans=15H　", 20},
                      AnswerCase{"ClassicAck", false, 0x06, "　書き込み異常　Ans=06H　", 20},
                      AnswerCase{"ClassicNone", false, -1, "　書き込み異常　Ans=FFFFFFFFH　", 1010},
                      AnswerCase{"InquiryNak", true, 0x15, "　書き込み異常　Ans=15H　", 20},
                      AnswerCase{"InquiryClassicOk", true, 0xAA, "　書き込み異常　Ans=AAH　", 20},
                      AnswerCase{"InquiryNone", true, -1, "　書き込み異常　Ans=FFFFFFFFH　", 1010}),
    testing::CaseName());

TEST(WriteBlocks, NextBlockGoesOutOnlyOnTheCallAfterTheAnswer) {
  Writer w(false);
  MarkBlock(*w.image, 0, 128);
  MarkBlock(*w.image, 1, 128);
  BlockTarget target(w.f, false, 128);
  w.op.Run(PhaseStart);
  w.f.Tick(w.op);
  EXPECT_EQ(target.commands.size(), 1u);
  EXPECT_EQ(w.progress.BlocksDone, 1u);
  w.f.Tick(w.op);  // reads the answer
  EXPECT_EQ(target.commands.size(), 1u);
  w.f.Tick(w.op);
  EXPECT_EQ(target.commands.size(), 2u);
}

struct AbortCase {
  const char* name;
  bool inquiry;
  bool answerOutstanding;  // abort before the first block's answer was read
  std::size_t commands;    // what the target received in all
};

class WriteBlocksAbort : public ::testing::TestWithParam<AbortCase> {};

TEST_P(WriteBlocksAbort, FinishWaitsForTheAnswerAndSendsNoFurtherBlock) {
  const auto& c = GetParam();
  Writer w(c.inquiry);
  for (std::size_t n = 0; n < 3; ++n) MarkBlock(*w.image, n, 128);
  BlockTarget target(w.f, c.inquiry, 128);
  target.script = {-1};  // the first answer comes late
  w.op.Run(PhaseStart);
  w.f.Tick(w.op);
  ASSERT_EQ(target.commands.size(), 1u);
  if (!c.answerOutstanding) {
    w.f.line.Feed({static_cast<std::uint8_t>(c.inquiry ? 0x06 : 0xAA)});
    w.f.Tick(w.op);
    ASSERT_EQ(w.op.subState(), SubState::SendBlock);
  }
  // The answer arrives while the end step is already finishing.
  w.f.clock.Advance(300);
  if (c.answerOutstanding) w.f.line.Feed({static_cast<std::uint8_t>(c.inquiry ? 0x06 : 0xAA)});

  EXPECT_EQ(w.Finish(), StepDone);
  ASSERT_EQ(target.commands.size(), c.commands);
  if (c.inquiry) {
    EXPECT_EQ(target.commands.back(), kEndFrame);
  }
  EXPECT_TRUE(target.pending.empty());
  EXPECT_TRUE(w.f.host.events.empty());
}

INSTANTIATE_TEST_SUITE_P(Protocols, WriteBlocksAbort,
                         ::testing::Values(AbortCase{"ClassicAnswerOutstanding", false, true, 1},
                                           AbortCase{"ClassicBetweenBlocks", false, false, 1},
                                           AbortCase{"InquiryAnswerOutstanding", true, true, 2},
                                           AbortCase{"InquiryBetweenBlocks", true, false, 2}),
                         testing::CaseName());

TEST(WriteBlocks, FinishWithoutTheOutstandingAnswerFailsAfterItsSecond) {
  Writer w(false);
  MarkBlock(*w.image, 0, 128);
  BlockTarget target(w.f, false, 128);
  target.script = {-1};
  w.op.Run(PhaseStart);
  w.f.Tick(w.op);
  const std::uint32_t sentAt = w.f.clock.NowMs();

  EXPECT_EQ(w.Finish(), StepFailed);
  EXPECT_EQ(w.f.clock.NowMs() - sentAt, 1001u);
  EXPECT_EQ(target.pending, Bytes{0xFF});
  EXPECT_EQ(w.f.host.boxes, std::vector<std::string>{"　書き込み異常　Ans=FFFFFFFFH　"});
}

TEST(WriteBlocks, FlagsBeyondTheImageAreNeitherCountedNorSent) {
  Writer w(false);
  w.f.fields.BlockSize = 256;
  w.image->blocks.flags[4095] = 1;  // the image's last 256-byte block
  w.image->blocks.flags[4096] = 1;  // would reach past the image
  w.image->blocks.flags[8191] = 1;
  BlockTarget target(w.f, false, 256);
  w.op.Run(PhaseStart);
  EXPECT_EQ(w.progress.BlocksTotal, 1u);

  EXPECT_EQ(w.RunToEnd(), StepDone);
  ASSERT_EQ(target.commands.size(), 1u);
  EXPECT_EQ(Bytes(target.commands[0].begin(), target.commands[0].begin() + 4),
            (Bytes{0x55, 0x00, 0xFF, 0x0F}));
}

class WriteBlocksUnusableBlockSize : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(WriteBlocksUnusableBlockSize, RefusesTheBlockUnsent) {
  Writer w(true);
  w.f.fields.BlockSize = GetParam();
  w.image->blocks.flags[0] = 1;
  w.op.Run(PhaseStart);

  EXPECT_EQ(w.RunToEnd(), StepFailed);
  EXPECT_TRUE(w.f.line.written.empty());
  EXPECT_EQ(w.f.host.boxes, std::vector<std::string>{"　書き込み異常　Ans=FFFFFFFFH　"});
}

INSTANTIATE_TEST_SUITE_P(Sizes, WriteBlocksUnusableBlockSize, ::testing::Values(0, 257, 512),
                         ::testing::PrintToStringParamName());

}  // namespace
}  // namespace vantrel
