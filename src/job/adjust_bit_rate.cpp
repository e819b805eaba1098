#include "job/adjust_bit_rate.h"

#include "job/classic_bytes.h"
#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr int kStaleBytesDropped = 100;
constexpr int kSyncWindowMs = 500;
constexpr int kHandshakeWindowMs = 1000;
constexpr std::uint8_t kSyncByte = 0x00;
constexpr std::uint8_t kHandshake = 0x55;
constexpr int kInquiryAnswer = 0xE6;

}  // namespace

StepResult AdjustBitRate::Run(StepPhase phase) {
  if (phase == PhaseStart) {
    subState_ = SubState::DropStaleInput;
    return StepBusy;
  }
  auto& port = ctx_.port;
  auto& timeout = ctx_.timeout;
  switch (subState_) {
    case SubState::DropStaleInput:
      // Adapters often deliver a stray byte on open; it must not pass for the loader's 0x00.
      for (int i = 0; i < kStaleBytesDropped; ++i) port.GetByte();
      timeout.StartTimeout(kSyncWindowMs);
      subState_ = SubState::SendZeros;
      zeroSent_ = false;
      return StepBusy;
    case SubState::SendZeros:
      if (!zeroSent_) {
        // Until our first 0x00 is out, a 0x00 is noise from the open, never the loader's answer.
        for (int i = 0; i < kStaleBytesDropped; ++i) port.GetByte();
      } else if (port.GetByte() == kSyncByte) {
        subState_ = SubState::SendHandshake;
      }
      port.PutByte(kSyncByte);
      zeroSent_ = true;
      // A 0x00 that arrives in the tick the window closes comes too late.
      if (timeout.TimeoutRemaining() == 0) subState_ = SubState::Failed;
      return StepBusy;
    case SubState::SendHandshake:
      port.PutByte(kHandshake);
      timeout.StartTimeout(kHandshakeWindowMs);
      subState_ = SubState::AwaitHandshake;
      return StepBusy;
    case SubState::AwaitHandshake: {
      const int expected = inquiryMode_ ? kInquiryAnswer : kClassicOk;
      if (port.GetByte() == expected) return StepDone;
      if (timeout.TimeoutRemaining() == 0) subState_ = SubState::Failed;
      return StepBusy;
    }
    case SubState::Failed:
      ReportFailure(ctx_.events, {JobFailure::NoBitRateSync, " ビットレートの調整が出来ませんでした "});
      return StepFailed;
  }
  return StepBusy;
}

}  // namespace vantrel
