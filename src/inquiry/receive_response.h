#pragma once

#include <cstddef>
#include <cstdint>

#include "core/step.h"
#include "core/step_context.h"
#include "inquiry/response_buffer.h"

namespace vantrel {

// Where a frame's data begins in ResponseBuffer.
inline constexpr std::size_t FrameDataOffset(bool twoByteSize) {
  return twoByteSize ? 3 : 2;
}

// Receives one response frame (code, size, data, checksum) into ResponseBuffer, a piece per tick.
// The response code and size are left to the caller to judge.
class ReceiveResponse {
 public:
  enum class State : int {
    Started = 0,  // time-out not yet running
    Code = 1,
    Size = 2,
    SizeLow = 3,  // second size byte, only when the caller asks for a two-byte size
    Data = 4,
    Checksum = 5,
    Failed = 100,  // time-out or bad checksum, reported on the next call
  };

  ReceiveResponse(StepContext& ctx, ResponseBuffer& buffer) : ctx_(ctx), buffer_(buffer) {}

  // twoByteSize is read on every call, not remembered from the start.
  StepResult Run(StepPhase phase, bool twoByteSize);

  State subState() const { return state_; }
  // Bytes of the frame known to be still coming; the size's second byte is not counted.
  std::size_t Expecting() const;
  // Data bytes the frame declared.
  std::uint16_t expectedSize() const { return expected_; }
  // Data bytes kept in the buffer: fewer than declared only when the frame is longer than the
  // buffer, whose tail is then read, checked and dropped.
  std::uint16_t keptSize() const { return kept_; }
  bool truncated() const { return kept_ < expected_; }

 private:
  bool ReadByte(std::uint8_t& byte);
  void Store(std::uint8_t byte);

  StepContext& ctx_;
  ResponseBuffer& buffer_;
  State state_ = State::Started;
  bool done_ = false;
  std::uint8_t sum_ = 0;
  std::uint16_t expected_ = 0;
  std::uint16_t received_ = 0;
  std::uint16_t kept_ = 0;
  std::size_t writePos_ = 0;
};

}  // namespace vantrel
