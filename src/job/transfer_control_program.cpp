#include "job/transfer_control_program.h"

#include <algorithm>
#include <string>

#include "core/format.h"
#include "core/status_texts.h"
#include "job/classic_bytes.h"
#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr int kEchoWindowMs = 500;
constexpr std::uint32_t kChunkSize = 16;
// A whole chunk's echo plus the decision to send the next one.
constexpr int kEchoReadsPerCall = 18;

}  // namespace

void TransferControlProgram::Fail(std::string_view text) {
  failure_ = text;
  subState_ = SubState::Failed;
}

std::size_t TransferControlProgram::Expecting() const {
  switch (subState_) {
    case SubState::AwaitLengthHigh:
      return 2;
    case SubState::AwaitLengthLow:
      return 1;
    case SubState::AwaitChunkEcho:
      return outstanding_;
    default:
      return 0;
  }
}

StepResult TransferControlProgram::Run(StepPhase phase) {
  if (phase == PhaseStart) {
    // The buffer holds at most its capacity, whatever the length field claims.
    length_ = std::min<std::uint32_t>(program_.length, kControlProgramCapacity);
    sendPos_ = 0;
    echoPos_ = 0;
    outstanding_ = 0;
    bytesSent_ = 0;
    failure_ = {};
    subState_ = SubState::SendLength;
    return StepBusy;
  }
  auto& port = ctx_.port;
  auto& timeout = ctx_.timeout;
  switch (subState_) {
    case SubState::SendLength:
      lengthHigh_ = static_cast<std::uint8_t>(length_ >> 8);
      lengthLow_ = static_cast<std::uint8_t>(length_);
      port.PutByte(lengthHigh_);
      port.PutByte(lengthLow_);
      timeout.StartTimeout(kEchoWindowMs);
      subState_ = SubState::AwaitLengthHigh;
      return StepBusy;
    case SubState::AwaitLengthHigh:
      if (port.GetByte() == lengthHigh_) subState_ = SubState::AwaitLengthLow;
      if (timeout.TimeoutRemaining() == 0) Fail("AddrH Echo Error");
      return StepBusy;
    case SubState::AwaitLengthLow:
      // Still the window started with the length: both echoes share it.
      if (port.GetByte() == lengthLow_) subState_ = SubState::SendChunk;
      if (timeout.TimeoutRemaining() == 0) Fail("AddrL Echo Error");
      return StepBusy;
    case SubState::SendChunk: {
      std::uint32_t sent = 0;
      while (sent < kChunkSize && bytesSent_ < length_) {
        port.PutByte(program_.bytes[sendPos_++]);
        ++bytesSent_;
        ++sent;
      }
      outstanding_ = sent;
      timeout.StartTimeout(kEchoWindowMs);
      subState_ = SubState::AwaitChunkEcho;
      return StepBusy;
    }
    case SubState::AwaitChunkEcho:
      for (int i = 0; i < kEchoReadsPerCall; ++i) {
        if (outstanding_ == 0) {
          if (bytesSent_ < length_) {
            subState_ = SubState::SendChunk;
          } else {
            timeout.StartTimeout(kEraseWaitMs);
            subState_ = SubState::AwaitErase;
          }
          break;
        }
        // A wrong byte is dropped and the same byte is expected again.
        const int b = port.GetByte();
        if (b < 0 || b != program_.bytes[echoPos_]) break;
        ++echoPos_;
        --outstanding_;
      }
      if (timeout.TimeoutRemaining() == 0) Fail("Data Echo TimeUp");
      return StepBusy;
    case SubState::AwaitErase: {
      ctx_.events.Status(
          {.phase = JobPhase::WaitingForErase, .seconds = EraseWaitSeconds(timeout.TimeoutRemaining())});
      const int b = port.GetByte();
      if (b == kClassicOk) return StepDone;
      if (b >= 0) {
        Fail("Ans != 0xaa    ");
      } else if (timeout.TimeoutRemaining() == 0) {
        Fail("Ans 0xaa TimeUp");
      }
      return StepBusy;
    }
    case SubState::Failed:
      ReportFailure(ctx_.events,
                    {.failure = JobFailure::ControlTransferFailed,
                     .text = Format("　書き込み制御 MOTの転送失敗　%s  ", std::string(failure_).c_str()),
                     .detail = std::string(failure_)});
      return StepFailed;
  }
  return StepBusy;
}

}  // namespace vantrel
