#include "job/verify_blocks_by_read.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "job/job_image.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using testing::MakeImage;
using testing::MarkBlock;
using testing::StepFixture;
using Bytes = std::vector<std::uint8_t>;

const std::string kCommunication = "box: ベリファイ通信異常 ";

// A boot loader answering 0x52 from its flash. The answer to the second command is shaped by the
// test: header, a flipped last data byte (checksum kept right), a wrong checksum, or silence.
struct ReadTarget {
  ReadTarget(StepFixture& f, const ProgramImage& image) {
    f.line.responder = [this, &f, &image](std::uint8_t b, testing::ScriptedDevice::State& s) {
      pending.push_back(b);
      if (pending.size() < 12) return;
      commands.push_back(pending);
      const std::uint32_t address =
          pending[3] << 24 | pending[4] << 16 | pending[5] << 8 | pending[6];
      const std::uint32_t length = pending[9] << 8 | pending[10];
      const std::uint32_t offset = address - f.fields.RomBaseAddr;
      pending.clear();
      const bool faulty = commands.size() == 2;
      if (faulty && silent) return;
      Bytes answer = {0x52, 0x00, 0x00, static_cast<std::uint8_t>(length >> 8),
                      static_cast<std::uint8_t>(length)};
      if (faulty && !header.empty()) answer = header;
      answer.insert(answer.end(), image.memory.bytes.begin() + offset,
                    image.memory.bytes.begin() + offset + length);
      if (faulty && flipLast) answer.back() ^= 0x01;
      std::uint8_t sum = 0;
      for (auto x : answer) sum = static_cast<std::uint8_t>(sum + x);
      answer.push_back(static_cast<std::uint8_t>(0x100 - sum + (faulty && badChecksum ? 1 : 0)));
      s.Feed(answer);
    };
  }
  std::vector<Bytes> commands;
  Bytes pending;
  Bytes header;  // for the second answer; empty: the right one
  bool flipLast = false;
  bool badChecksum = false;
  bool silent = false;
};

struct Verifier {
  StepFixture f;
  std::unique_ptr<ProgramImage> image = MakeImage();
  BlockProgress progress;
  BootDefinition boot;
  VerifyBlocksByRead op{f.ctx, *image, progress, boot};

  Verifier() { boot.MatType = 0; }
  StepResult RunToEnd(int maxTicks = 1000) { return f.RunToEnd(op, maxTicks); }
};

TEST(VerifyBlocksByRead, ReadCommandForAddressZeroOnTheUserMat) {
  Verifier v;
  MarkBlock(*v.image, 0, 128);
  ReadTarget target(v.f, *v.image);
  v.op.Run(PhaseStart);

  EXPECT_EQ(v.RunToEnd(), StepDone);
  ASSERT_EQ(target.commands.size(), 1u);
  EXPECT_EQ(target.commands[0],
            (Bytes{0x52, 0x09, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x24}));
  EXPECT_EQ(v.progress.BlocksDone, 1u);
  EXPECT_EQ(v.f.controls.Panel5.caption, "ベリファイ中：Address = 000000H");
}

TEST(VerifyBlocksByRead, UserBootMatBlockSize256AndAddressMostSignificantFirst) {
  Verifier v;
  v.boot.MatType = 1;
  v.f.fields.BlockSize = 256;
  v.f.fields.RomBaseAddr = 0x00FF0000;
  MarkBlock(*v.image, 3, 256);
  ReadTarget target(v.f, *v.image);
  v.op.Run(PhaseStart);

  ASSERT_EQ(v.f.Tick(v.op), StepBusy);
  ASSERT_EQ(target.commands.size(), 1u);
  Bytes command = {0x52, 0x09, 0x00, 0x00, 0xFF, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00};
  std::uint8_t sum = 0;
  for (auto b : command) sum = static_cast<std::uint8_t>(sum + b);
  command.push_back(static_cast<std::uint8_t>(0x100 - sum));
  EXPECT_EQ(target.commands[0], command);
}

TEST(VerifyBlocksByRead, PassingBlocksAreCountedAndNothingFollowsThem) {
  Verifier v;
  for (std::size_t n : {0, 9, 8191}) MarkBlock(*v.image, n, 128);
  ReadTarget target(v.f, *v.image);
  v.op.Run(PhaseStart);

  EXPECT_EQ(v.RunToEnd(), StepDone);
  EXPECT_EQ(target.commands.size(), 3u);
  EXPECT_TRUE(target.pending.empty());
  EXPECT_EQ(v.progress.BlocksDone, 3u);
  EXPECT_EQ(v.f.controls.Panel5.caption, "ベリファイ中：Address = 0FFF80H");
}

TEST(VerifyBlocksByRead, EmptyMapIsDoneAtOnceWithNothingSent) {
  Verifier v;
  v.op.Run(PhaseStart);
  EXPECT_EQ(v.f.Tick(v.op), StepDone);
  EXPECT_TRUE(v.f.line.written.empty());
}

struct ReadFailure {
  const char* name;
  Bytes header;
  bool flipLast;
  bool badChecksum;
  bool silent;
  std::vector<std::string> events;
};

class VerifyBlocksByReadFailure : public ::testing::TestWithParam<ReadFailure> {};

TEST_P(VerifyBlocksByReadFailure, ShowsTheCauseAndSendsNothingMore) {
  const auto& c = GetParam();
  Verifier v;
  MarkBlock(*v.image, 0, 128);
  MarkBlock(*v.image, 1, 128);
  MarkBlock(*v.image, 2, 128);
  ReadTarget target(v.f, *v.image);
  target.header = c.header;
  target.flipLast = c.flipLast;
  target.badChecksum = c.badChecksum;
  target.silent = c.silent;
  v.op.Run(PhaseStart);

  EXPECT_EQ(v.RunToEnd(), StepFailed);
  EXPECT_EQ(v.f.host.events, c.events);
  EXPECT_EQ(target.commands.size(), 2u);
  EXPECT_TRUE(target.pending.empty());
  EXPECT_EQ(v.progress.BlocksDone, 1u);  // only the block that compared equal
}

INSTANTIATE_TEST_SUITE_P(
    Causes, VerifyBlocksByReadFailure,
    ::testing::Values(
        ReadFailure{"WrongCode",
                    {0x53, 0x00, 0x00, 0x00, 0x80},
                    false,
                    false,
                    false,
                    {"beep", "box:0", "beep", kCommunication}},
        ReadFailure{"Length1",
                    {0x52, 0x01, 0x00, 0x00, 0x80},
                    false,
                    false,
                    false,
                    {"beep", "box:1", "beep", kCommunication}},
        ReadFailure{"Length2",
                    {0x52, 0x00, 0x01, 0x00, 0x80},
                    false,
                    false,
                    false,
                    {"beep", "box:2", "beep", kCommunication}},
        ReadFailure{"Length256",
                    {0x52, 0x00, 0x00, 0x01, 0x00},
                    false,
                    false,
                    false,
                    {"beep", "box:3", "beep", kCommunication}},
        ReadFailure{"Length129",
                    {0x52, 0x00, 0x00, 0x00, 0x81},
                    false,
                    false,
                    false,
                    {"beep", "box:4", "beep", kCommunication}},
        ReadFailure{"WrongChecksum", {}, false, true, false, {"beep", kCommunication}},
        ReadFailure{"Silence", {}, false, false, true, {"beep", kCommunication}},
        ReadFailure{"LastByteFlipped", {}, true, false, false, {"beep", "box:ベリファイ不一致"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VerifyBlocksByRead, SilenceFailsTwoThousandMillisecondsAfterTheCommand) {
  Verifier v;
  MarkBlock(*v.image, 0, 128);
  v.op.Run(PhaseStart);
  v.f.Tick(v.op);
  const std::uint32_t sentAt = v.f.clock.NowMs();

  EXPECT_EQ(v.RunToEnd(), StepFailed);
  // found when the window closes, named on the next call, shown on the one after
  EXPECT_EQ(v.f.clock.NowMs() - sentAt, 2020u);
  EXPECT_EQ(v.f.line.written.size(), 12u);
}

TEST(VerifyBlocksByRead, DataStalledAfterTheHeaderFailsTwoThousandMillisecondsLater) {
  Verifier v;
  MarkBlock(*v.image, 0, 128);
  v.op.Run(PhaseStart);
  v.f.Tick(v.op);
  v.f.line.Feed({0x52, 0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF});
  for (int i = 0; i < 5; ++i) v.f.Tick(v.op);
  ASSERT_EQ(v.op.subState(), VerifyBlocksByRead::SubState::ReceiveData);
  const std::uint32_t headerAt = v.f.clock.NowMs();

  EXPECT_EQ(v.RunToEnd(), StepFailed);
  EXPECT_EQ(v.f.clock.NowMs() - headerAt, 2020u);
  EXPECT_EQ(v.f.host.events, (std::vector<std::string>{"beep", kCommunication}));
}

TEST(VerifyBlocksByRead, BlockLargerThanTheReadBackBufferFailsUnsent) {
  Verifier v;
  v.f.fields.BlockSize = 300;
  v.image->blocks.flags[0] = 1;
  v.op.Run(PhaseStart);

  EXPECT_EQ(v.RunToEnd(), StepFailed);
  EXPECT_TRUE(v.f.line.written.empty());
  EXPECT_EQ(v.f.host.boxes, std::vector<std::string>{"ベリファイ不一致"});
}

}  // namespace
}  // namespace vantrel
