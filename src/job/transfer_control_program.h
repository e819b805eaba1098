#pragma once

#include <cstdint>
#include <string_view>

#include "core/step.h"
#include "core/step_context.h"
#include "objfile/program_image.h"

namespace vantrel {

// Sends the write-control program to a classic target, every byte echoed, then waits for the
// target to report the end of its flash erase.
class TransferControlProgram {
 public:
  enum class SubState : int {
    SendLength = 0,
    AwaitLengthHigh = 1,
    AwaitLengthLow = 2,
    SendChunk = 3,
    AwaitChunkEcho = 4,
    AwaitErase = 5,
    Failed = 100,
  };

  TransferControlProgram(StepContext& ctx, const ControlProgram& program)
      : ctx_(ctx), program_(program) {}

  StepResult Run(StepPhase phase);
  SubState subState() const { return subState_; }
  // Bytes the call in progress waits for: the echo of a length byte or of the chunk.
  std::size_t Expecting() const;
  // Bytes of the program sent so far; the sequence shows them as progress.
  std::uint32_t ControlBytesSent() const { return bytesSent_; }
  // The job's end step clears the progress figure.
  void ResetControlBytesSent() { bytesSent_ = 0; }

 private:
  void Fail(std::string_view text);

  StepContext& ctx_;
  const ControlProgram& program_;
  SubState subState_ = SubState::SendLength;
  std::uint32_t length_ = 0;
  std::uint32_t sendPos_ = 0;
  std::uint32_t echoPos_ = 0;
  std::uint32_t outstanding_ = 0;
  std::uint32_t bytesSent_ = 0;
  std::uint8_t lengthHigh_ = 0;
  std::uint8_t lengthLow_ = 0;
  std::string_view failure_;
};

}  // namespace vantrel
