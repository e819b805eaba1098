#include <gtest/gtest.h>

#include "job/job_image.h"
#include "job/verify_blocks.h"
#include "job/verify_blocks_by_read.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The answer (head, block 0 of 128 bytes 0x00..0x7F, tail) comes in pieces, each followed by five
// ticks; the verification says how many bytes it still awaits after its command, then after each.
struct ExpectedBytesCase {
  const char* name;
  bool byRead;
  Bytes head, tail;
  std::vector<std::size_t> pieces, expecting;
};

class ExpectedBytes : public ::testing::TestWithParam<ExpectedBytesCase> {};

TEST_P(ExpectedBytes, CountDownAsTheAnswerComes) {
  const auto& c = GetParam();
  testing::StepFixture f;
  auto image = testing::MakeImage();
  testing::MarkBlock(*image, 0, 128);
  BlockProgress progress;
  const BootDefinition boot{};
  VerifyBlocks classic(f.ctx, *image, progress);
  VerifyBlocksByRead byRead(f.ctx, *image, progress, boot);
  const auto run = [&](StepPhase p) { c.byRead ? byRead.Run(p) : classic.Run(p); };
  Bytes answer = c.head;
  answer.insert(answer.end(), image->memory.bytes.begin(), image->memory.bytes.begin() + 128);
  answer.insert(answer.end(), c.tail.begin(), c.tail.end());
  run(PhaseStart);
  run(PhaseContinue);
  std::vector<std::size_t> seen;
  for (std::size_t given = 0; const std::size_t n : c.pieces) {
    seen.push_back(c.byRead ? byRead.Expecting() : classic.Expecting());
    f.line.Feed(std::span(answer).subspan(given, n));
    given += n;
    for (int i = 0; i < 5; ++i, f.clock.Advance(10)) run(PhaseContinue);
  }
  EXPECT_EQ(seen, c.expecting);
  EXPECT_EQ(progress.BlocksDone, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Verifications, ExpectedBytes,
    ::testing::Values(
        // The block follows its address echo at once: both are awaited together.
        ExpectedBytesCase{
            "EchoAndBlock", false, {0, 0, 0}, {}, {2, 1, 100, 28, 0}, {131, 129, 128, 28, 0}},
        ExpectedBytesCase{"ReadAnswerHeaderBlockAndChecksum",
                          true,
                          {0x52, 0, 0, 0, 0x80},
                          {0x6E},
                          {3, 2, 100, 28, 1, 0},
                          {134, 131, 129, 29, 1, 0}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vantrel
