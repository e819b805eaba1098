#pragma once

#include "core/step.h"
#include "core/step_context.h"

namespace vantrel {

// Synchronises the boot loader's bit rate: 0x00 bytes until it answers 0x00, then 0x55 answered by
// 0xAA (classic) or 0xE6 (inquiry/selection).
class AdjustBitRate {
 public:
  enum class SubState : int {
    DropStaleInput = 0,
    SendZeros = 1,
    SendHandshake = 2,
    AwaitHandshake = 3,
    Failed = 100,
  };

  // inquiryMode is set anew by the control-program loader at each job start.
  AdjustBitRate(StepContext& ctx, const bool& inquiryMode) : ctx_(ctx), inquiryMode_(inquiryMode) {}

  StepResult Run(StepPhase phase);
  SubState subState() const { return subState_; }

 private:
  StepContext& ctx_;
  const bool& inquiryMode_;
  SubState subState_ = SubState::DropStaleInput;
  bool zeroSent_ = false;
};

}  // namespace vantrel
