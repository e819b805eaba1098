#include "job/verify_blocks_by_read.h"

#include <algorithm>
#include <string>

#include "core/format.h"
#include "job/send_read_command.h"
#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr int kAnswerWindowMs = 2000;
constexpr int kDataReadsPerCall = 200;
constexpr std::uint8_t kReadAnswer = 0x52;
constexpr std::string_view kMismatch = "ベリファイ不一致";

}  // namespace

StepResult VerifyBlocksByRead::Run(StepPhase phase) {
  const std::uint16_t blockSize = fields_.BlockSize;
  if (phase == PhaseStart) {
    progress_.BlocksDone = 0;
    nextFlag_ = 0;
    position_ = 0;
    failure_ = {};
    subState_ = SubState::SendCommand;
    return StepBusy;
  }
  auto& port = ctx_.port;
  auto& timeout = ctx_.timeout;
  switch (subState_) {
    case SubState::SendCommand: {
      if (phase == PhaseFinish) return StepDone;
      const std::size_t n = FindMarkedBlock(image_.blocks, nextFlag_, blockSize);
      if (n >= kBlockCount) return StepDone;
      if (!UsableBlockSize(blockSize)) {
        // The block would not fit the read-back buffer, so it cannot be shown to match.
        failure_ = kMismatch;
        subState_ = SubState::Failed;
        return StepBusy;
      }
      block_ = n;
      blockSize_ = blockSize;
      const std::uint32_t address = fields_.RomBaseAddr + static_cast<std::uint32_t>(n) * blockSize;
      SendReadCommand(port, boot_.MatType, address, blockSize);
      header_ = {kReadAnswer, 0x00, 0x00, static_cast<std::uint8_t>(blockSize >> 8),
                 static_cast<std::uint8_t>(blockSize)};
      sum_ = 0;
      ctx_.display.ShowStatus(Format("ベリファイ中：Address = %06XH", address));
      timeout.StartTimeout(kAnswerWindowMs);
      position_ = 0;
      subState_ = SubState::ReceiveHeader;
      return StepBusy;
    }
    case SubState::ReceiveHeader: {
      if (timeout.TimeoutRemaining() == 0) {
        subState_ = SubState::CommunicationError;
        return StepBusy;
      }
      const int b = port.GetByte();
      if (b < 0) return StepBusy;
      if (b != header_[position_]) {
        // Which header byte was wrong: 0 the code, 1 to 4 the length.
        ctx_.display.Message(std::to_string(position_));
        subState_ = SubState::CommunicationError;
        return StepBusy;
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
      if (timeout.TimeoutRemaining() == 0) {
        subState_ = SubState::CommunicationError;
        return StepBusy;
      }
      for (int i = 0; i < kDataReadsPerCall && position_ < blockSize_; ++i) {
        const int b = port.GetByte();
        if (b < 0) continue;
        readBack_[position_++] = static_cast<std::uint8_t>(b);
        sum_ = static_cast<std::uint8_t>(sum_ + b);
      }
      if (position_ >= blockSize_) subState_ = SubState::ReceiveChecksum;
      return StepBusy;
    case SubState::ReceiveChecksum: {
      if (timeout.TimeoutRemaining() == 0) {
        subState_ = SubState::CommunicationError;
        return StepBusy;
      }
      const int b = port.GetByte();
      if (b < 0) return StepBusy;
      sum_ = static_cast<std::uint8_t>(sum_ + b);
      subState_ = sum_ == 0 ? SubState::Compare : SubState::CommunicationError;
      return StepBusy;
    }
    case SubState::Compare: {
      const auto expected = BlockBytes(image_.memory, block_, blockSize_);
      if (!std::equal(expected.begin(), expected.end(), readBack_.begin())) {
        failure_ = kMismatch;
        subState_ = SubState::Failed;
        return StepBusy;
      }
      nextFlag_ = block_ + 1;
      ++progress_.BlocksDone;
      subState_ = SubState::SendCommand;
      return StepBusy;
    }
    case SubState::CommunicationError:
      failure_ = " ベリファイ通信異常 ";
      subState_ = SubState::Failed;
      return StepBusy;
    case SubState::Failed:
      // Nothing goes to the boot loader: it knows no end-of-job byte after a failed read.
      ctx_.display.Message(failure_);
      subState_ = SubState::SendCommand;
      return StepFailed;
  }
  return StepBusy;
}

}  // namespace vantrel
