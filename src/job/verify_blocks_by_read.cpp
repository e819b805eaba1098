#include "job/verify_blocks_by_read.h"

#include <algorithm>
#include <string>

#include "core/format.h"
#include "core/status_texts.h"
#include "inquiry/send_read_command.h"
#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr int kAnswerWindowMs = 2000;
constexpr std::uint8_t kReadAnswer = 0x52;

}  // namespace

std::size_t VerifyBlocksByRead::Expecting() const {
  switch (subState_) {
    case SubState::ReceiveHeader:
      return header_.size() - position_ + readBack_.blockSize() + 1;
    case SubState::ReceiveData:
      return readBack_.Missing() + 1;
    case SubState::ReceiveChecksum:
      return 1;
    default:
      return 0;
  }
}

StepResult VerifyBlocksByRead::Run(StepPhase phase) {
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
        failure_ = kVerifyMismatch;
        jobFailure_ = JobFailure::VerifyMismatch;
        kind_ = VerifyFailure::BlockSize;
        subState_ = SubState::Failed;
        return StepBusy;
      }
      const std::uint32_t address = readBack_.Address(ctx_.inputs.RomBase());
      SendReadCommand(port, boot_.MatType, address, blockSize);
      header_ = {kReadAnswer, 0x00, 0x00, static_cast<std::uint8_t>(blockSize >> 8),
                 static_cast<std::uint8_t>(blockSize)};
      sum_ = 0;
      ctx_.events.Status({JobPhase::Verifying, address});
      timeout.StartTimeout(kAnswerWindowMs);
      position_ = 0;
      subState_ = SubState::ReceiveHeader;
      return StepBusy;
    }
    case SubState::ReceiveHeader: {
      if (timeout.TimeoutRemaining() == 0) return Unreadable(VerifyFailure::Timeout);
      const int b = port.GetByte();
      if (b < 0) return StepBusy;
      if (b != header_[position_]) {
        // Which header byte was wrong: 0 the code, 1 to 4 the length.
        ReportFailure(ctx_.events, {.failure = JobFailure::VerifyAnswerHeader,
                                     .text = std::to_string(position_),
                                     .headerPosition = position_});
        return Unreadable(VerifyFailure::Header);
      }
      sum_ = static_cast<std::uint8_t>(sum_ + b);
      if (++position_ == header_.size()) {
        position_ = 0;
        timeout.StartTimeout(kAnswerWindowMs);
        subState_ = SubState::ReceiveData;
      }
      return StepBusy;
    }
    case SubState::ReceiveData:
      if (timeout.TimeoutRemaining() == 0) return Unreadable(VerifyFailure::Timeout);
      if (readBack_.ReadData(port, &sum_)) subState_ = SubState::ReceiveChecksum;
      return StepBusy;
    case SubState::ReceiveChecksum: {
      if (timeout.TimeoutRemaining() == 0) return Unreadable(VerifyFailure::Timeout);
      const int b = port.GetByte();
      if (b < 0) return StepBusy;
      sum_ = static_cast<std::uint8_t>(sum_ + b);
      if (sum_ != 0) return Unreadable(VerifyFailure::Checksum);
      subState_ = SubState::Compare;
      return StepBusy;
    }
    case SubState::Compare: {
      if (!readBack_.MatchesImage(image_.memory)) {
        mismatch_ = readBack_.FirstDifference(image_.memory, ctx_.inputs.RomBase());
        failure_ = kVerifyMismatch;
        jobFailure_ = JobFailure::VerifyMismatch;
        kind_ = VerifyFailure::Mismatch;
        subState_ = SubState::Failed;
        return StepBusy;
      }
      readBack_.Accept(progress_);
      subState_ = SubState::SendCommand;
      return StepBusy;
    }
    case SubState::CommunicationError:
      failure_ = " ベリファイ通信異常 ";
      jobFailure_ = JobFailure::VerifyCommunication;
      subState_ = SubState::Failed;
      return StepBusy;
    case SubState::Failed:
      // Nothing goes to the boot loader: it knows no end-of-job byte after a failed read.
      ReportFailure(ctx_.events, {.failure = jobFailure_, .text = std::string(failure_), .address = mismatch_});
      subState_ = SubState::SendCommand;
      return StepFailed;
  }
  return StepBusy;
}

}  // namespace vantrel
