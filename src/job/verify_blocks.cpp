#include "job/verify_blocks.h"

#include <algorithm>

#include "core/format.h"
#include "core/status_texts.h"
#include "job/classic_bytes.h"
#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr int kAnswerWindowMs = 2000;
constexpr std::uint8_t kVerifyCommand = 0x56;

}  // namespace

void VerifyBlocks::Fail(JobFailure failure, std::string_view text, VerifyFailure kind) {
  jobFailure_ = failure;
  failure_ = text;
  kind_ = kind;
  subState_ = SubState::Failed;
}

std::size_t VerifyBlocks::Expecting() const {
  switch (subState_) {
    case SubState::AwaitAddressEcho:
      return addressSent_.size() - position_ + readBack_.blockSize();
    case SubState::ReceiveData:
      return readBack_.Missing();
    default:
      return 0;
  }
}

StepResult VerifyBlocks::Run(StepPhase phase) {
  const std::uint16_t blockSize = ctx_.inputs.BlockSize();
  if (phase == PhaseStart) {
    progress_.BlocksDone = 0;
    readBack_.Restart();
    position_ = 0;
    failure_ = {};
    mismatch_.reset();
    kind_ = VerifyFailure::None;
    subState_ = SubState::SendCommand;
    return StepBusy;
  }
  auto& port = ctx_.port;
  auto& timeout = ctx_.timeout;
  switch (subState_) {
    case SubState::SendCommand: {
      if (phase == PhaseFinish) return StepDone;
      const auto next = readBack_.FindNext(image_.blocks, blockSize);
      if (next == BlockReadBack::Next::None) return StepDone;
      if (next == BlockReadBack::Next::Unusable) {
        // The block would not fit the read-back buffer, so it cannot be shown to match.
        Fail(JobFailure::VerifyMismatch, kVerifyMismatch, VerifyFailure::BlockSize);
        return StepBusy;
      }
      const std::uint32_t address = readBack_.Address(ctx_.inputs.RomBase());
      addressSent_ = {static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8),
                      static_cast<std::uint8_t>(address >> 16)};
      port.PutByte(kVerifyCommand);
      for (auto b : addressSent_) port.PutByte(b);
      ctx_.events.Status({JobPhase::Verifying, address});
      timeout.StartTimeout(kAnswerWindowMs);
      position_ = 0;
      subState_ = SubState::AwaitAddressEcho;
      return StepBusy;
    }
    case SubState::AwaitAddressEcho: {
      const int b = port.GetByte();
      if (b < 0) {
        if (timeout.TimeoutRemaining() == 0) {
          // Writing already succeeded; the user hears this at once and again with the box.
          ctx_.events.Beep();
          Fail(JobFailure::VerifyUnanswered, " ベリファイに応答しませんが、書き込みは完了しています ", VerifyFailure::Timeout);
        }
        return StepBusy;
      }
      if (b != addressSent_[position_]) {
        Fail(JobFailure::VerifyAddressEcho, " アドレス返信異常 ", VerifyFailure::Address);
        return StepBusy;
      }
      if (++position_ == addressSent_.size()) {
        position_ = 0;
        timeout.StartTimeout(kAnswerWindowMs);
        subState_ = SubState::ReceiveData;
      }
      return StepBusy;
    }
    case SubState::ReceiveData:
      if (timeout.TimeoutRemaining() == 0) {
        Fail(JobFailure::VerifyTimeUp, "ベリファイ・タイムアウト", VerifyFailure::Timeout);
        return StepBusy;
      }
      if (readBack_.ReadData(port)) subState_ = SubState::Compare;
      return StepBusy;
    case SubState::Compare: {
      if (!readBack_.MatchesImage(image_.memory)) {
        mismatch_ = readBack_.FirstDifference(image_.memory, ctx_.inputs.RomBase());
        Fail(JobFailure::VerifyMismatch, kVerifyMismatch, VerifyFailure::Mismatch);
        return StepBusy;
      }
      readBack_.Accept(progress_);
      subState_ = SubState::SendCommand;
      return StepBusy;
    }
    case SubState::Failed:
      port.PutByte(kEndOfJob);
      ReportFailure(ctx_.events, {.failure = jobFailure_, .text = std::string(failure_), .address = mismatch_});
      subState_ = SubState::SendCommand;
      return StepFailed;
  }
  return StepBusy;
}

}  // namespace vantrel
