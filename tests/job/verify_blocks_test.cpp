#include "job/verify_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
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

// A classic write-control program answering 0x56: address echo, then the block from its flash.
// The fault applies to the second command only, so the first block always passes.
struct ClassicVerifyTarget {
  enum Fault { None, NoEcho, WrongEcho, NoData, LastByteFlipped };

  ClassicVerifyTarget(StepFixture& f, const ProgramImage& image, std::uint16_t blockSize,
                      Fault fault) {
    f.line.responder = [this, &f, &image, blockSize, fault](std::uint8_t b,
                                                            testing::ScriptedDevice::State& s) {
      pending.push_back(b);
      if (pending.size() < 4) return;
      commands.push_back(pending);
      const Bytes address(pending.begin() + 1, pending.end());
      pending.clear();
      const Fault now = commands.size() == 2 ? fault : None;
      faultyCommandAt = f.clock.NowMs();
      if (now == NoEcho) return;
      Bytes echo = address;
      if (now == WrongEcho) echo[1] ^= 0x01;
      s.Feed(echo);
      if (now == NoData) return;
      const std::uint32_t offset =
          ((address[0] | address[1] << 8 | address[2] << 16) - f.fields.RomBaseAddr) & 0xFFFFFF;
      Bytes data(image.memory.bytes.begin() + offset,
                 image.memory.bytes.begin() + offset + blockSize);
      if (now == LastByteFlipped) data.back() ^= 0x01;
      s.Feed(data);
    };
  }
  std::vector<Bytes> commands;
  Bytes pending;
  std::uint32_t faultyCommandAt = 0;
};

struct Verifier {
  StepFixture f;
  std::unique_ptr<ProgramImage> image = MakeImage();
  BlockProgress progress;
  VerifyBlocks op{f.ctx, *image, progress};

  StepResult RunToEnd(int maxTicks = 1000) { return f.RunToEnd(op, maxTicks); }
};

TEST(VerifyBlocks, MatchingBlocksPassAndAreCounted) {
  Verifier v;
  v.f.fields.RomBaseAddr = 0x01000000;  // bits 31 to 24 never travel
  MarkBlock(*v.image, 1, 128);
  MarkBlock(*v.image, 4, 128);
  ClassicVerifyTarget target(v.f, *v.image, 128, ClassicVerifyTarget::None);
  v.op.Run(PhaseStart);

  EXPECT_EQ(v.RunToEnd(), StepDone);
  EXPECT_EQ(target.commands,
            (std::vector<Bytes>{{0x56, 0x80, 0x00, 0x00}, {0x56, 0x00, 0x02, 0x00}}));
  EXPECT_TRUE(target.pending.empty());  // no end-of-job byte: the sequence sends that
  EXPECT_EQ(v.progress.BlocksDone, 2u);
  EXPECT_EQ(v.f.controls.Panel5.caption, "ベリファイ中：Address = 1000200H");
  EXPECT_TRUE(v.f.host.events.empty());
}

TEST(VerifyBlocks, EmptyMapIsDoneAtOnceWithNothingSent) {
  Verifier v;
  v.op.Run(PhaseStart);
  EXPECT_EQ(v.f.Tick(v.op), StepDone);
  EXPECT_TRUE(v.f.line.written.empty());
}

struct ClassicFailure {
  const char* name;
  ClassicVerifyTarget::Fault fault;
  std::vector<std::string> events;
  std::uint32_t failsAfterMs;  // from the faulty block's command
};

class VerifyBlocksFailure : public ::testing::TestWithParam<ClassicFailure> {};

TEST_P(VerifyBlocksFailure, ShowsTheCauseAfterTellingTheTargetTheJobIsOver) {
  const auto& c = GetParam();
  Verifier v;
  MarkBlock(*v.image, 0, 128);
  MarkBlock(*v.image, 1, 128);
  MarkBlock(*v.image, 2, 128);
  ClassicVerifyTarget target(v.f, *v.image, 128, c.fault);
  v.op.Run(PhaseStart);

  EXPECT_EQ(v.RunToEnd(), StepFailed);
  EXPECT_EQ(v.f.clock.NowMs() - target.faultyCommandAt, c.failsAfterMs);
  EXPECT_EQ(v.f.host.events, c.events);
  EXPECT_EQ(target.commands.size(), 2u);
  EXPECT_EQ(target.pending, Bytes{0xFF});
  EXPECT_EQ(v.progress.BlocksDone, 1u);  // only the block that compared equal
}

INSTANTIATE_TEST_SUITE_P(
    Causes, VerifyBlocksFailure,
    ::testing::Values(
        // the target went quiet: beeped once when found, once more with the box
        ClassicFailure{
            "NoEcho",
            ClassicVerifyTarget::NoEcho,
            {"beep", "beep", "box: ベリファイに応答しませんが、書き込みは完了しています "},
            2010},
        ClassicFailure{
            "WrongEcho", ClassicVerifyTarget::WrongEcho, {"beep", "box: アドレス返信異常 "}, 30},
        // the 2000 ms for the data run from the complete echo, read on the third tick
        ClassicFailure{
            "NoData", ClassicVerifyTarget::NoData, {"beep", "box:ベリファイ・タイムアウト"}, 2040},
        ClassicFailure{"LastByteFlipped",
                       ClassicVerifyTarget::LastByteFlipped,
                       {"beep", "box:ベリファイ不一致"},
                       60}),
    testing::CaseName());

TEST(VerifyBlocks, EchoAndDataComeOneByteAndTwoHundredBytesPerCall) {
  Verifier v;
  v.f.fields.BlockSize = 256;
  MarkBlock(*v.image, 0, 256);
  ClassicVerifyTarget target(v.f, *v.image, 256, ClassicVerifyTarget::None);
  v.op.Run(PhaseStart);
  v.f.Tick(v.op);  // command
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(v.op.subState(), VerifyBlocks::SubState::AwaitAddressEcho);
    v.f.Tick(v.op);
  }
  EXPECT_EQ(v.op.subState(), VerifyBlocks::SubState::ReceiveData);
  v.f.Tick(v.op);
  EXPECT_EQ(v.op.subState(), VerifyBlocks::SubState::ReceiveData);
  v.f.Tick(v.op);
  EXPECT_EQ(v.op.subState(), VerifyBlocks::SubState::Compare);
  EXPECT_EQ(v.RunToEnd(), StepDone);
  EXPECT_EQ(v.progress.BlocksDone, 1u);
}

TEST(VerifyBlocks, BlockLargerThanTheReadBackBufferFailsUnsent) {
  Verifier v;
  v.f.fields.BlockSize = 512;
  v.image->blocks.flags[0] = 1;
  v.op.Run(PhaseStart);

  EXPECT_EQ(v.RunToEnd(), StepFailed);
  EXPECT_EQ(v.f.line.written, Bytes{0xFF});
  EXPECT_EQ(v.f.host.boxes, std::vector<std::string>{"ベリファイ不一致"});
  EXPECT_EQ(v.progress.BlocksDone, 0u);
}

}  // namespace
}  // namespace vantrel
