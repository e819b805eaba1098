#include "inquiry/receive_response.h"

#include "core/step.h"
#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr std::int32_t kFrameTimeoutMs = 1000;

}  // namespace

bool ReceiveResponse::ReadByte(std::uint8_t& byte) {
  const int got = ctx_.port.GetByte();
  if (got < 0) return false;
  byte = static_cast<std::uint8_t>(got);
  return true;
}

// The last slot is kept for the zero that replaces the checksum, so a frame longer than the
// buffer loses its tail instead of running past the end.
void ReceiveResponse::Store(std::uint8_t byte) {
  if (writePos_ + 1 < buffer_.size()) buffer_[writePos_++] = byte;
}

std::size_t ReceiveResponse::Expecting() const {
  if (done_) return 0;
  switch (state_) {
    case State::Code:
      return 2;
    case State::Size:
    case State::SizeLow:
    case State::Checksum:
      return 1;
    case State::Data:
      return static_cast<std::size_t>(expected_ - received_) + 1;
    default:
      return 0;
  }
}

StepResult ReceiveResponse::Run(StepPhase phase, bool twoByteSize) {
  if (phase == PhaseStart) {
    state_ = State::Started;
    done_ = false;
    sum_ = 0;
    expected_ = 0;
    received_ = 0;
    kept_ = 0;
    writePos_ = 0;
    return StepBusy;
  }
  if (done_) return StepDone;

  std::uint8_t byte = 0;
  switch (state_) {
    case State::Started:
      // One time-out for the whole frame, not per byte.
      ctx_.timeout.StartTimeout(kFrameTimeoutMs);
      state_ = State::Code;
      return StepBusy;
    case State::Code:
      if (ReadByte(byte)) {
        Store(byte);
        sum_ = byte;
        state_ = State::Size;
      }
      break;
    case State::Size:
      if (ReadByte(byte)) {
        Store(byte);
        sum_ = static_cast<std::uint8_t>(sum_ + byte);
        expected_ = byte;
        state_ = State::SizeLow;
      }
      break;
    case State::SizeLow:
      if (!twoByteSize) {
        state_ = State::Data;
      } else if (ReadByte(byte)) {
        Store(byte);
        sum_ = static_cast<std::uint8_t>(sum_ + byte);
        expected_ = static_cast<std::uint16_t>(expected_ * 256u + byte);
        state_ = State::Data;
      }
      break;
    case State::Data:
      if (expected_ == 0) {
        state_ = State::Checksum;
        break;
      }
      for (int attempt = 0; attempt < kDataReadsPerCall; ++attempt) {
        if (!ReadByte(byte)) continue;
        const std::size_t before = writePos_;
        Store(byte);
        if (writePos_ != before) ++kept_;
        sum_ = static_cast<std::uint8_t>(sum_ + byte);
        if (++received_ == expected_) {
          state_ = State::Checksum;
          break;
        }
      }
      break;
    case State::Checksum:
      if (ReadByte(byte)) {
        buffer_[writePos_] = 0;  // text data ends terminated
        sum_ = static_cast<std::uint8_t>(sum_ + byte);
        if (sum_ == 0) {
          done_ = true;
          return StepDone;
        }
        state_ = State::Failed;
        return StepBusy;
      }
      break;
    case State::Failed:
      return StepFailed;
  }
  // Bytes still arriving do not save a frame that has run out of time.
  if (ctx_.timeout.TimeoutRemaining() == 0) state_ = State::Failed;
  return StepBusy;
}

}  // namespace vantrel
