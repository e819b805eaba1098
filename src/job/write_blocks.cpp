#include "job/write_blocks.h"

#include "core/format.h"
#include "inquiry/acknowledgement.h"
#include "inquiry/send_program_command.h"
#include "job/classic_bytes.h"
#include "job/marked_blocks.h"
#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr int kBlockAnswerMs = 1000;
constexpr int kEndAnswerMs = 500;
constexpr std::uint8_t kClassicWrite = 0x55;

}  // namespace

void WriteBlocks::SendClassicBlock(std::uint32_t address, std::size_t n) {
  auto& port = ctx_.port;
  // Only 24 address bits travel, least significant first.
  port.PutByte(kClassicWrite);
  port.PutByte(static_cast<std::uint8_t>(address));
  port.PutByte(static_cast<std::uint8_t>(address >> 8));
  port.PutByte(static_cast<std::uint8_t>(address >> 16));
  port.Write(BlockBytes(image_.memory, n, ctx_.inputs.BlockSize()));
}

StepResult WriteBlocks::NoMoreBlocks() {
  if (!inquiryMode_) return StepDone;
  subState_ = SubState::SendEnd;
  return StepBusy;
}

StepResult WriteBlocks::Run(StepPhase phase) {
  const std::uint16_t blockSize = ctx_.inputs.BlockSize();
  if (phase == PhaseStart) {
    progress_.BlocksDone = 0;
    progress_.BlocksTotal = CountMarkedBlocks(image_.blocks, blockSize);
    nextFlag_ = 0;
    lastValue_ = -1;
    subState_ = SubState::SendBlock;
    return StepBusy;
  }
  auto& port = ctx_.port;
  auto& timeout = ctx_.timeout;
  switch (subState_) {
    case SubState::SendBlock: {
      if (phase == PhaseFinish) return NoMoreBlocks();
      const std::size_t n = FindMarkedBlock(image_.blocks, nextFlag_, blockSize);
      if (n >= kBlockCount) return NoMoreBlocks();
      if (!UsableBlockSize(blockSize)) {
        // Such a block could be neither sent whole nor read back: refuse it unsent.
        lastValue_ = -1;
        subState_ = SubState::Failed;
        return StepBusy;
      }
      const std::uint32_t address = ctx_.inputs.RomBase() + static_cast<std::uint32_t>(n) * blockSize;
      if (inquiryMode_) {
        SendProgramCommand(port, address, BlockBytes(image_.memory, n, blockSize));
      } else {
        SendClassicBlock(address, n);
      }
      ctx_.events.Status({JobPhase::Writing, address});
      nextFlag_ = n + 1;
      ++progress_.BlocksDone;
      timeout.StartTimeout(kBlockAnswerMs);
      subState_ = SubState::AwaitBlockAnswer;
      return StepBusy;
    }
    case SubState::AwaitBlockAnswer: {
      lastValue_ = port.GetByte();
      const int expected = inquiryMode_ ? kAck : kClassicOk;
      if (lastValue_ < 0) {
        if (timeout.TimeoutRemaining() == 0) subState_ = SubState::Failed;
      } else if (lastValue_ == expected) {
        subState_ = SubState::SendBlock;
      } else {
        subState_ = SubState::Failed;
      }
      return StepBusy;
    }
    case SubState::SendEnd:
      SendProgramEnd(port);
      timeout.StartTimeout(kEndAnswerMs);
      subState_ = SubState::AwaitEndAnswer;
      return StepBusy;
    case SubState::AwaitEndAnswer:
      lastValue_ = port.GetByte();
      if (lastValue_ == kAck) return StepDone;
      if (lastValue_ >= 0 || timeout.TimeoutRemaining() == 0) subState_ = SubState::Failed;
      return StepBusy;
    case SubState::Failed: {
      if (!inquiryMode_) port.PutByte(kEndOfJob);
      // The classic host moves to "Baud (P)" just before the first block: silence there most
      // often means a rate the board does not use.
      const bool firstUnanswered = !inquiryMode_ && lastValue_ < 0 && progress_.BlocksDone == 1;
      // Printed as a 32-bit value: a missing answer (-1) reads FFFFFFFF.
      ReportFailure(ctx_.events,
                    {.failure = JobFailure::WriteFailed,
                     .text = Format("　書き込み異常　Ans=%02XH　", static_cast<unsigned>(lastValue_)),
                     .answer = lastValue_,
                     .firstBlock = firstUnanswered});
      subState_ = SubState::SendBlock;
      return StepFailed;
    }
  }
  return StepBusy;
}

}  // namespace vantrel
