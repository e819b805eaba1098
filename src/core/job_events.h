#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// What the job is doing, as the status line names it. An address or a count of seconds travels
// beside the phase; StatusText makes the line's words of both.
enum class JobPhase : std::int32_t {
  ChooseFile = 0,
  PressButton = 1,
  LoadingControlProgram = 2,
  AdjustingBitRate = 3,
  TransferringControlProgram = 4,
  WaitingForErase = 5,     // seconds
  ReadingUserProgram = 6,  // address
  Writing = 7,             // address
  Verifying = 8,           // address
  GettingCpuInfo = 9,
  SelectingMat = 10,
};

struct JobStatus {
  JobPhase phase = JobPhase::ChooseFile;
  std::uint32_t address = 0;
  std::int32_t seconds = 0;
};

// The status line's exact text.
std::string StatusText(const JobStatus& status);
// The phase in the words of the event stream: "writing", "waiting-for-erase".
std::string_view PhaseName(JobPhase phase);

// Every message a job ends on; its text travels with it.
enum class JobFailure : std::int32_t {
  NoUserProgram = 0,
  ControlFileNotOpened = 1,
  ControlProgramError = 2,  // code
  PortNotOpened = 3,
  NoBitRateSync = 4,
  ControlTransferFailed = 5,  // detail: what the transfer saw
  UserProgramNotOpened = 6,
  RecordFormatError = 7,  // code
  WriteFailed = 8,        // answer, firstBlock
  VerifyMismatch = 9,     // address: the first byte that differs, when one was read
  VerifyUnanswered = 10,
  VerifyAddressEcho = 11,
  VerifyTimeUp = 12,
  VerifyCommunication = 13,
  VerifyAnswerHeader = 14,  // headerPosition
  InquiryCommunication = 15,
  InquiryNewBitRate = 16,
  InquiryDeviceName = 17,
  InquiryClockMode = 18,
  InquiryErrorResponse = 19,
  InquiryAnswerTimeUp = 20,
};

// The failure in the words of the event stream: "write-failed".
std::string_view FailureName(JobFailure failure);

struct JobFailureEvent {
  JobFailure failure = JobFailure::NoUserProgram;
  std::string text;  // the message box's text, exactly
  std::optional<std::uint32_t> address;
  std::optional<std::size_t> headerPosition;
  std::string code;  // a record's fault code
  std::string detail;
  std::int32_t answer = 0;  // the write's last answer; -1 for none
  bool firstBlock = false;  // the write failed on the first block after the rate switch
};

// Messages that say a job did well.
enum class JobNotice : std::int32_t {
  PortOpened = 0,
  Written = 1,
  Verified = 2,
};

// The job's result as the process's exit code gives it.
enum class JobResultCode : std::int32_t {
  Completed = 0,  // written, and verified when asked
  NotCompleted = 1,
  VerifyFailed = 2,
};

// What a job tells whoever runs it, in the order it happens. A failure comes after its beep.
class JobEvents {
 public:
  virtual ~JobEvents() = default;
  virtual void Status(const JobStatus&) {}
  virtual void Progress(std::int32_t /*permille*/) {}
  virtual void Running(bool /*running*/) {}
  // The programming rate an inquiry switched the port to (the window shows it as Baud (P)).
  virtual void RateSwitched(std::string_view /*baud*/) {}
  // The block size and ROM base in force, after a write-control file confirmed them.
  virtual void BlockLayout(std::uint16_t /*blockSize*/, std::uint32_t /*romBase*/) {}
  virtual void Beep() {}
  virtual void Failed(const JobFailureEvent&) {}
  virtual void Notice(JobNotice, std::string_view /*text*/) {}
  virtual void Result(JobResultCode) {}
  // The job has closed the port and is idle again.
  virtual void Ended(JobResultCode) {}
};

// The message convention: the beep, then the message.
inline void ReportFailure(JobEvents& events, JobFailureEvent failure) {
  events.Beep();
  events.Failed(failure);
}

}  // namespace vantrel
