#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "inquiry/boot_definition.h"
#include "inquiry/receive_response.h"
#include "job/job_image.h"
#include "job/verify_blocks.h"
#include "job/verify_blocks_by_read.h"
#include "job/write_blocks.h"
#include "support/case_name.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using testing::StepFixture;
using Bytes = std::vector<std::uint8_t>;

enum class Op { ClassicWrite, ClassicVerify, VerifyByRead, InquiryFrame };

// The answer comes in pieces; after each piece the operation has had its ticks, and says how many
// bytes it still waits for.
struct ExpectedBytesCase {
  const char* name;
  Op op;
  std::vector<std::size_t> pieces;
  std::vector<std::size_t> expecting;  // after the command, then after each piece
};

class ExpectedBytes : public ::testing::TestWithParam<ExpectedBytesCase> {};

TEST_P(ExpectedBytes, CountDownAsTheAnswerComes) {
  const auto& c = GetParam();
  StepFixture f;
  f.fields.BlockSize = 128;
  f.fields.RomBaseAddr = 0;
  auto image = testing::MakeImage();
  testing::MarkBlock(*image, 0, 128);
  const Bytes block(image->memory.bytes.begin(), image->memory.bytes.begin() + 128);
  const bool inquiry = false;
  BlockProgress progress;
  BootDefinition boot{};
  ResponseBuffer frame{};
  WriteBlocks write(f.ctx, inquiry, *image, progress);
  VerifyBlocks verify(f.ctx, *image, progress);
  VerifyBlocksByRead byRead(f.ctx, *image, progress, boot);
  ReceiveResponse receive(f.ctx, frame);

  Bytes answer;
  std::function<void()> run;
  std::function<std::size_t()> expecting;
  switch (c.op) {
    case Op::ClassicWrite:
      answer = {0xAA};
      run = [&] { write.Run(PhaseContinue); };
      expecting = [&] { return write.Expecting(); };
      write.Run(PhaseStart);
      break;
    case Op::ClassicVerify:
      answer = {0x00, 0x00, 0x00};
      answer.insert(answer.end(), block.begin(), block.end());
      run = [&] { verify.Run(PhaseContinue); };
      expecting = [&] { return verify.Expecting(); };
      verify.Run(PhaseStart);
      break;
    case Op::VerifyByRead: {
      answer = {0x52, 0x00, 0x00, 0x00, 0x80};
      answer.insert(answer.end(), block.begin(), block.end());
      std::uint8_t sum = 0;
      for (auto b : answer) sum = static_cast<std::uint8_t>(sum + b);
      answer.push_back(static_cast<std::uint8_t>(0x100 - sum));
      run = [&] { byRead.Run(PhaseContinue); };
      expecting = [&] { return byRead.Expecting(); };
      byRead.Run(PhaseStart);
      break;
    }
    case Op::InquiryFrame:
      answer = {0x30, 0x03, 0x01, 0x02, 0x03, 0xC7};
      run = [&] { receive.Run(PhaseContinue, false); };
      expecting = [&] { return receive.Expecting(); };
      receive.Run(PhaseStart, false);
      break;
  }
  run();  // the command goes out (a frame's time-out starts)
  std::vector<std::size_t> seen{expecting()};
  std::size_t given = 0;
  for (const std::size_t n : c.pieces) {
    f.line.Feed(std::span(answer).subspan(given, n));
    given += n;
    for (int i = 0; i < 5; ++i) {
      f.clock.Advance(10);
      run();
    }
    seen.push_back(expecting());
  }
  EXPECT_EQ(seen, c.expecting);
  EXPECT_TRUE(f.host.events.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ExpectedBytes,
    ::testing::Values(ExpectedBytesCase{"WriteAnswerIsOneByte", Op::ClassicWrite, {1}, {1, 0}},
                      // The block follows its address echo at once: both are awaited together.
                      ExpectedBytesCase{"ClassicVerifyEchoAndBlock",
                                        Op::ClassicVerify,
                                        {2, 1, 100, 28},
                                        {131, 129, 128, 28, 0}},
                      ExpectedBytesCase{"ReadAnswerHeaderBlockAndChecksum",
                                        Op::VerifyByRead,
                                        {3, 2, 100, 28, 1},
                                        {134, 131, 129, 29, 1, 0}},
                      // The size byte is needed before the data is known.
                      ExpectedBytesCase{"InquiryFrameOfStatedSize",
                                        Op::InquiryFrame,
                                        {1, 1, 2, 1, 1},
                                        {2, 1, 4, 2, 1, 0}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vantrel
