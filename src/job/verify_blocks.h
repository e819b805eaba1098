#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/step.h"
#include "core/step_context.h"
#include "job/block_progress.h"
#include "job/block_read_back.h"
#include "job/marked_blocks.h"
#include "job/verify_failure.h"
#include "objfile/program_image.h"

namespace vantrel {

// Reads every marked block back from a classic write-control program (0x56) and compares it with
// the memory image.
class VerifyBlocks {
 public:
  enum class SubState : int {
    SendCommand = 0,
    AwaitAddressEcho = 1,
    ReceiveData = 2,
    Compare = 3,
    Failed = 100,
  };

  VerifyBlocks(StepContext& ctx, const ProgramImage& image,
               BlockProgress& progress)
      : ctx_(ctx), image_(image), progress_(progress) {}

  StepResult Run(StepPhase phase);
  // Where the last run found the first byte that differs from the image.
  std::optional<std::uint32_t> mismatchAddress() const { return mismatch_; }
  // What the last run failed on; None after a run that did not fail.
  VerifyFailure failure() const { return kind_; }
  SubState subState() const { return subState_; }
  // Bytes the call in progress waits for: the target sends the block right behind the echo.
  std::size_t Expecting() const;

 private:
  void Fail(JobFailure failure, std::string_view text, VerifyFailure kind);

  StepContext& ctx_;
  const ProgramImage& image_;
  BlockProgress& progress_;
  SubState subState_ = SubState::SendCommand;
  BlockReadBack readBack_;
  std::array<std::uint8_t, 3> addressSent_{};
  std::size_t position_ = 0;
  std::string_view failure_;
  JobFailure jobFailure_ = JobFailure::VerifyMismatch;
  std::optional<std::uint32_t> mismatch_;
  VerifyFailure kind_ = VerifyFailure::None;
};

}  // namespace vantrel
