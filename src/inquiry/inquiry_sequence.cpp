#include "inquiry/inquiry_sequence.h"

#include <algorithm>
#include <cstring>

#include "core/status_texts.h"
#include "inquiry/acknowledgement.h"
#include "inquiry/inquiry_answers.h"
#include "inquiry/inquiry_messages.h"
#include "inquiry/new_bit_rate_frame.h"
#include "inquiry/send_command_frame.h"
#include "serial/comm_ctrl.h"
#include "serial/open_port.h"

namespace vantrel {
namespace {

constexpr std::uint8_t kAskDevices = 0x20;
constexpr std::uint8_t kAskClockModes = 0x21;
constexpr std::uint8_t kAskRatios = 0x22;
constexpr std::uint8_t kAskFrequencies = 0x23;
constexpr std::uint8_t kAskUserBootMat = 0x24;
constexpr std::uint8_t kAskUserMat = 0x25;
constexpr std::uint8_t kAskEraseBlocks = 0x26;
constexpr std::uint8_t kAskWriteSize = 0x27;
// An inquiry's answer code is the command plus 0x10.
constexpr std::uint8_t kAnswerOffset = 0x10;
constexpr std::uint8_t kSelectDevice = 0x10;
constexpr std::uint8_t kSelectClockMode = 0x11;
constexpr std::uint8_t kStartErase = 0x40;
constexpr std::uint8_t kSelectUserBootMat = 0x42;
constexpr std::uint8_t kSelectUserMat = 0x43;
// Either answer to 0x40 means the target has erased and is ready to program.
constexpr std::uint8_t kEraseDoneAlt = 0x26;
// Told apart from an error answer by the target; taken as "not finished yet".
constexpr std::uint8_t kEraseBusy = 0x16;

constexpr std::int32_t kAckTimeoutMs = 500;
constexpr std::int32_t kNewBitRateTimeoutMs = 1000;

}  // namespace

void InquirySequence::Reset() {
  step_ = Step::AskDevices;
  message_.clear();
  info_.WriteBlockSize = 0;
  info_.DeviceNo = 0;
  info_.ClockModeNo = 0;
  info_.MultipleTypeNo = 0;
  info_.FreqNo = 0;
  info_.UserBootMatAreaNo = 0;
  info_.UserMatAreaNo = 0;
  info_.EraseBlockNo = 0;
  info_.ClockMode.fill(0);
}

void InquirySequence::Ask(std::uint8_t command, Step next) {
  ctx_.port.PutByte(command);
  receiver_.Run(PhaseStart, false);
  step_ = next;
}

void InquirySequence::Receive(bool twoByteSize, Step next) {
  const StepResult result = receiver_.Run(PhaseContinue, twoByteSize);
  if (result == StepDone) step_ = next;
  if (result == StepFailed) step_ = Step::CommunicationFailed;
}

bool InquirySequence::AnswerIs(std::uint8_t code, bool twoByteSize, std::uint16_t& size) const {
  size = twoByteSize ? static_cast<std::uint16_t>(buffer_[1] << 8 | buffer_[2]) : buffer_[1];
  return buffer_[0] == code;
}

std::span<const std::uint8_t> InquirySequence::AnswerData(bool twoByteSize) const {
  return std::span<const std::uint8_t>(buffer_).subspan(FrameDataOffset(twoByteSize),
                                                        receiver_.keptSize());
}

void InquirySequence::AwaitAck(Step next, Step onOtherByte) {
  switch (PollAcknowledgement(ctx_)) {
    case AckPoll::Acknowledged:
      step_ = next;
      break;
    case AckPoll::OtherByte:
      step_ = onOtherByte;
      break;
    case AckPoll::TimedOut:
      step_ = Step::CommunicationFailed;
      break;
    case AckPoll::Waiting:
      break;
  }
}

void InquirySequence::Fail(JobFailure failure, const char* message) {
  failure_ = failure;
  message_ = message;
  step_ = Step::ShowFailure;
}

void InquirySequence::SelectDevice() {
  for (int i = 0; i < info_.DeviceNo; ++i) {
    const auto& name = info_.DeviceName[i];
    if (std::string_view(name.data(), ::strnlen(name.data(), name.size())) != def_.DeviceName) {
      continue;
    }
    CommandData data{};
    std::copy_n(info_.DeviceCode[i].begin(), kDeviceCodeLength, data.begin());
    SendCommandFrame(ctx_.port, kSelectDevice,
                     std::span<const std::uint8_t>(data).first(kDeviceCodeLength));
    ctx_.timeout.StartTimeout(kAckTimeoutMs);
    step_ = Step::WaitDeviceAck;
    return;
  }
  Fail(JobFailure::InquiryDeviceName, kInquiryDeviceMismatch);
}

void InquirySequence::SelectClockMode() {
  const auto modes = std::span(info_.ClockMode).first(info_.ClockModeNo);
  const bool matched = modes.empty()
                           ? def_.ClockMode == 0
                           : std::find(modes.begin(), modes.end(), def_.ClockMode) != modes.end();
  if (!matched) {
    Fail(JobFailure::InquiryClockMode, kInquiryClockModeMismatch);
    return;
  }
  const std::uint8_t mode[1] = {static_cast<std::uint8_t>(def_.ClockMode)};
  SendCommandFrame(ctx_.port, kSelectClockMode, mode);
  ctx_.timeout.StartTimeout(kAckTimeoutMs);
  step_ = Step::WaitClockModeAck;
}

void InquirySequence::SendNewBitRate() {
  CommandData data{};
  SendCommandFrame(ctx_.port, kNewBitRateCommand, BuildNewBitRateData(def_, data));
  ctx_.timeout.StartTimeout(kNewBitRateTimeoutMs);
  step_ = Step::WaitNewBitRateAck;
}

void InquirySequence::SwitchBitRate() {
  ctx_.port.Close();
  ctx_.events.RateSwitched(def_.BaudP);
  // A failed open announces itself; the confirmation is then lost and its wait times out.
  OpenPort(ctx_.port, ctx_.events, ctx_.inputs.PortName(), def_.BaudP, false);
  // The target switches right after its acknowledgement and expects the confirmation at once.
  ctx_.port.PutByte(kAck);
  ctx_.timeout.StartTimeout(kAckTimeoutMs);
  step_ = Step::WaitConfirmationAck;
}

void InquirySequence::WaitErase() {
  ctx_.events.Status({.phase = JobPhase::WaitingForErase,
                      .seconds = EraseWaitSeconds(ctx_.timeout.TimeoutRemaining())});
  const int byte = ctx_.port.GetByte();
  if (byte == kAck || byte == kEraseDoneAlt) {
    step_ = Step::SelectMat;
    return;
  }
  if (byte >= 0 && byte != kEraseBusy) {
    // Shown at once without a beep, and again as the sequence fails.
    ctx_.events.Failed({JobFailure::InquiryErrorResponse, kInquiryErrorResponse});
    Fail(JobFailure::InquiryErrorResponse, kInquiryErrorResponse);
    return;
  }
  // Silence and "still busy" alike wait for the one 30 s limit.
  if (ctx_.timeout.TimeoutRemaining() == 0) Fail(JobFailure::InquiryAnswerTimeUp, kInquiryAnswerTimeUp);
}

StepResult InquirySequence::Run(StepPhase phase) {
  if (phase == PhaseStart) {
    Reset();
    return StepBusy;
  }
  std::uint16_t size = 0;
  switch (step_) {
    case Step::AskDevices:
      Ask(kAskDevices, Step::ReceiveDevices);
      break;
    case Step::ReceiveDevices:
      Receive(false, Step::AcceptDevices);
      break;
    case Step::AcceptDevices:
      Accept(AnswerIs(kAskDevices + kAnswerOffset, false, size) && size >= 7 &&
                 ParseDeviceAnswer(AnswerData(false), info_),
             Step::SelectDevice);
      break;
    case Step::SelectDevice:
      SelectDevice();
      break;
    case Step::WaitDeviceAck:
      AwaitAck(Step::AskClockModes, Step::CommunicationFailed);
      break;
    case Step::AskClockModes:
      Ask(kAskClockModes, Step::ReceiveClockModes);
      break;
    case Step::ReceiveClockModes:
      Receive(false, Step::AcceptClockModes);
      break;
    case Step::AcceptClockModes:
      Accept(AnswerIs(kAskClockModes + kAnswerOffset, false, size) && size >= 1 &&
                 ParseClockModeAnswer(AnswerData(false), info_),
             Step::SelectClockMode);
      break;
    case Step::SelectClockMode:
      SelectClockMode();
      break;
    case Step::WaitClockModeAck:
      AwaitAck(Step::AskRatios, Step::CommunicationFailed);
      break;
    case Step::AskRatios:
      Ask(kAskRatios, Step::ReceiveRatios);
      break;
    case Step::ReceiveRatios:
      Receive(false, Step::AcceptRatios);
      break;
    case Step::AcceptRatios:
      Accept(AnswerIs(kAskRatios + kAnswerOffset, false, size) && size >= 2 &&
                 ParseRatioAnswer(AnswerData(false), info_),
             Step::AskFrequencies);
      break;
    case Step::AskFrequencies:
      Ask(kAskFrequencies, Step::ReceiveFrequencies);
      break;
    case Step::ReceiveFrequencies:
      Receive(false, Step::AcceptFrequencies);
      break;
    case Step::AcceptFrequencies:
      Accept(AnswerIs(kAskFrequencies + kAnswerOffset, false, size) && size >= 2 &&
                 ParseFrequencyAnswer(AnswerData(false), info_),
             Step::AskUserBootMat);
      break;
    case Step::AskUserBootMat:
      // Without a user boot mat the target has nothing to say about one.
      if (def_.UserMatRdf == 0) {
        step_ = Step::AskUserMat;
      } else {
        Ask(kAskUserBootMat, Step::ReceiveUserBootMat);
      }
      break;
    case Step::ReceiveUserBootMat:
      Receive(false, Step::AcceptUserBootMat);
      break;
    case Step::AcceptUserBootMat:
      Accept(AnswerIs(kAskUserBootMat + kAnswerOffset, false, size) && size >= 2 &&
                 ParseMatAreaAnswer(AnswerData(false), info_.UserBootMatAreaNo, info_.UserBootMat),
             Step::AskUserMat);
      break;
    case Step::AskUserMat:
      Ask(kAskUserMat, Step::ReceiveUserMat);
      break;
    case Step::ReceiveUserMat:
      Receive(false, Step::AcceptUserMat);
      break;
    case Step::AcceptUserMat:
      Accept(AnswerIs(kAskUserMat + kAnswerOffset, false, size) && size >= 2 &&
                 ParseMatAreaAnswer(AnswerData(false), info_.UserMatAreaNo, info_.UserMat),
             Step::AskEraseBlocks);
      break;
    case Step::AskEraseBlocks:
      Ask(kAskEraseBlocks, Step::ReceiveEraseBlocks);
      break;
    case Step::ReceiveEraseBlocks:
      Receive(true, Step::AcceptEraseBlocks);
      break;
    case Step::AcceptEraseBlocks:
      Accept(AnswerIs(kAskEraseBlocks + kAnswerOffset, true, size) && size >= 1 &&
                 ParseEraseBlockAnswer(AnswerData(true), receiver_.truncated(), info_),
             Step::AskWriteSize);
      break;
    case Step::AskWriteSize:
      Ask(kAskWriteSize, Step::ReceiveWriteSize);
      break;
    case Step::ReceiveWriteSize:
      Receive(false, Step::AcceptWriteSize);
      break;
    case Step::AcceptWriteSize:
      Accept(AnswerIs(kAskWriteSize + kAnswerOffset, false, size) && size == 2 &&
                 ParseWriteSizeAnswer(AnswerData(false), info_),
             Step::SendNewBitRate);
      break;
    case Step::SendNewBitRate:
      SendNewBitRate();
      break;
    case Step::WaitNewBitRateAck:
      AwaitAck(Step::SwitchBitRate, Step::NewBitRateFailed);
      break;
    case Step::SwitchBitRate:
      SwitchBitRate();
      break;
    case Step::WaitConfirmationAck:
      AwaitAck(Step::StartErase, Step::NewBitRateFailed);
      break;
    case Step::StartErase:
      ctx_.port.PutByte(kStartErase);
      ctx_.timeout.StartTimeout(kEraseWaitMs);
      step_ = Step::WaitErase;
      break;
    case Step::WaitErase:
      WaitErase();
      break;
    case Step::SelectMat:
      ctx_.events.Status({JobPhase::SelectingMat});
      ctx_.port.PutByte(def_.MatType == 0 ? kSelectUserMat : kSelectUserBootMat);
      ctx_.timeout.StartTimeout(kAckTimeoutMs);
      step_ = Step::WaitMatAck;
      break;
    case Step::WaitMatAck:
      AwaitAck(Step::Done, Step::CommunicationFailed);
      break;
    case Step::Done:
      return StepDone;
    case Step::CommunicationFailed:
      Fail(JobFailure::InquiryCommunication, kInquiryCommFailed);
      break;
    case Step::NewBitRateFailed:
      Fail(JobFailure::InquiryNewBitRate, kInquiryNewBaudFailed);
      break;
    case Step::ShowFailure:
      ReportFailure(ctx_.events, {failure_, message_});
      return StepFailed;
  }
  return StepBusy;
}

}  // namespace vantrel
