#pragma once

#include <cstddef>
#include <cstdint>

#include "core/step.h"
#include "core/step_context.h"
#include "job/block_progress.h"
#include "objfile/program_image.h"

namespace vantrel {

// Writes every marked block of the memory image, one command and one answer byte per block:
// 0x55 to a classic write-control program, the 0x50 frame to an inquiry/selection boot loader.
class WriteBlocks {
 public:
  enum class SubState : int {
    SendBlock = 0,
    AwaitBlockAnswer = 1,
    SendEnd = 10,
    AwaitEndAnswer = 11,
    Failed = 100,
  };

  WriteBlocks(StepContext& ctx, const bool& inquiryMode,
              const ProgramImage& image, BlockProgress& progress)
      : ctx_(ctx), inquiryMode_(inquiryMode), image_(image), progress_(progress) {}

  // PhaseFinish ends an aborted write: the outstanding answer is awaited, no further block goes
  // out, and an inquiry target still gets the end-of-programming frame.
  StepResult Run(StepPhase phase);
  SubState subState() const { return subState_; }
  // Bytes the call in progress waits for: the one answer byte, or none.
  std::size_t Expecting() const {
    return subState_ == SubState::AwaitBlockAnswer || subState_ == SubState::AwaitEndAnswer;
  }

 private:
  void SendClassicBlock(std::uint32_t address, std::size_t n);
  StepResult NoMoreBlocks();

  StepContext& ctx_;
  const bool& inquiryMode_;
  const ProgramImage& image_;
  BlockProgress& progress_;
  SubState subState_ = SubState::SendBlock;
  std::size_t nextFlag_ = 0;
  int lastValue_ = -1;
};

}  // namespace vantrel
