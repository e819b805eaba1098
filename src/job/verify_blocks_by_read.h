#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/step.h"
#include "core/step_context.h"
#include "inquiry/boot_definition.h"
#include "job/block_progress.h"
#include "job/block_read_back.h"
#include "job/marked_blocks.h"
#include "job/verify_failure.h"
#include "objfile/program_image.h"

namespace vantrel {

// Reads every marked block back with the boot loader's read command 0x52 and compares it with the
// memory image.
class VerifyBlocksByRead {
 public:
  enum class SubState : int {
    SendCommand = 0,
    ReceiveHeader = 10,
    ReceiveData = 11,
    ReceiveChecksum = 12,
    Compare = 13,
    CommunicationError = 100,
    Failed = 101,
  };

  VerifyBlocksByRead(StepContext& ctx, const ProgramImage& image,
                     BlockProgress& progress, const BootDefinition& boot)
      : ctx_(ctx), image_(image), progress_(progress), boot_(boot) {}

  StepResult Run(StepPhase phase);
  // Where the last run found the first byte that differs from the image.
  std::optional<std::uint32_t> mismatchAddress() const { return mismatch_; }
  // What the last run failed on; None after a run that did not fail.
  VerifyFailure failure() const { return kind_; }
  SubState subState() const { return subState_; }
  // Bytes of the read answer still to come (header, data, checksum).
  std::size_t Expecting() const;

 private:
  // The read answer is unusable: a communication error, on the next call.
  StepResult Unreadable(VerifyFailure kind) {
    kind_ = kind;
    subState_ = SubState::CommunicationError;
    return StepBusy;
  }

  StepContext& ctx_;
  const ProgramImage& image_;
  BlockProgress& progress_;
  const BootDefinition& boot_;
  SubState subState_ = SubState::SendCommand;
  BlockReadBack readBack_;
  std::array<std::uint8_t, 5> header_{};
  std::size_t position_ = 0;
  std::uint8_t sum_ = 0;
  std::string_view failure_;
  JobFailure jobFailure_ = JobFailure::VerifyMismatch;
  std::optional<std::uint32_t> mismatch_;
  VerifyFailure kind_ = VerifyFailure::None;
};

}  // namespace vantrel
