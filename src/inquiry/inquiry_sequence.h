#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/step.h"
#include "core/step_context.h"
#include "inquiry/boot_definition.h"
#include "inquiry/cpu_information.h"
#include "inquiry/receive_response.h"
#include "inquiry/response_buffer.h"

namespace vantrel {

// Questions the boot loader, selects device and clock mode, moves both ends to BaudP, starts the
// erase and selects the mat. One step per call.
class InquirySequence {
 public:
  enum class Step : int {
    AskDevices = 0,
    ReceiveDevices = 1,
    AcceptDevices = 2,
    SelectDevice = 3,
    WaitDeviceAck = 4,
    AskClockModes = 5,
    ReceiveClockModes = 6,
    AcceptClockModes = 7,
    SelectClockMode = 8,
    WaitClockModeAck = 9,
    AskRatios = 10,
    ReceiveRatios = 11,
    AcceptRatios = 12,
    AskFrequencies = 13,
    ReceiveFrequencies = 14,
    AcceptFrequencies = 15,
    AskUserBootMat = 16,
    ReceiveUserBootMat = 17,
    AcceptUserBootMat = 18,
    AskUserMat = 19,
    ReceiveUserMat = 20,
    AcceptUserMat = 21,
    AskEraseBlocks = 22,
    ReceiveEraseBlocks = 23,
    AcceptEraseBlocks = 24,
    AskWriteSize = 25,
    ReceiveWriteSize = 26,
    AcceptWriteSize = 27,
    SendNewBitRate = 28,
    WaitNewBitRateAck = 29,
    SwitchBitRate = 30,
    WaitConfirmationAck = 31,
    StartErase = 32,
    WaitErase = 33,
    SelectMat = 34,
    WaitMatAck = 35,
    Done = 36,
    CommunicationFailed = 100,
    NewBitRateFailed = 101,
    ShowFailure = 110,
  };

  InquirySequence(StepContext& ctx, const BootDefinition& def, CpuInformation& info,
                  ResponseBuffer& buffer)
      : ctx_(ctx), def_(def), info_(info), buffer_(buffer), receiver_(ctx, buffer) {}

  StepResult Run(StepPhase phase);

  Step subState() const { return step_; }
  // Bytes of the answer frame under way still to come; 0 outside one.
  std::size_t Expecting() const { return receiver_.Expecting(); }
  const std::string& failureMessage() const { return message_; }

 private:
  void Reset();
  void Ask(std::uint8_t command, Step next);
  void Receive(bool twoByteSize, Step next);
  // The answer's code and declared size; the size rule is checked by the caller.
  bool AnswerIs(std::uint8_t code, bool twoByteSize, std::uint16_t& size) const;
  std::span<const std::uint8_t> AnswerData(bool twoByteSize) const;
  void Accept(bool accepted, Step next) { step_ = accepted ? next : Step::CommunicationFailed; }
  void AwaitAck(Step next, Step onOtherByte);
  void SelectDevice();
  void SelectClockMode();
  void SendNewBitRate();
  void SwitchBitRate();
  void WaitErase();
  void Fail(JobFailure failure, const char* message);

  StepContext& ctx_;
  const BootDefinition& def_;
  CpuInformation& info_;
  ResponseBuffer& buffer_;
  ReceiveResponse receiver_;
  Step step_ = Step::AskDevices;
  std::string message_;
  JobFailure failure_ = JobFailure::InquiryCommunication;
};

}  // namespace vantrel
