#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/job_events.h"
#include "core/job_inputs.h"
#include "core/shared_timeout.h"
#include "core/step_context.h"
#include "inquiry/boot_definition.h"
#include "inquiry/cpu_info_report.h"
#include "inquiry/cpu_information.h"
#include "inquiry/inquiry_sequence.h"
#include "inquiry/response_buffer.h"
#include "job/adjust_bit_rate.h"
#include "job/block_progress.h"
#include "job/load_control_program.h"
#include "job/load_user_program.h"
#include "job/programming_sequence.h"
#include "job/transfer_control_program.h"
#include "job/verify_blocks.h"
#include "job/verify_blocks_by_read.h"
#include "job/verify_failure.h"
#include "job/write_blocks.h"
#include "objfile/program_image.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "serial/comm_ctrl.h"

namespace vantrel {

// One programming job and everything it needs: the port, the images, the boot definitions, the
// shared time-out and the step operations. It reads its inputs when the sequence needs them and
// tells its events as they happen; it never waits: each Tick does one bounded piece of work.
class ProgrammingJob {
 public:
  ProgrammingJob(JobInputs& inputs, JobEvents& events, platform::Clock& clock,
                 std::unique_ptr<platform::SerialDevice> device);
  ProgrammingJob(const ProgrammingJob&) = delete;
  ProgrammingJob& operator=(const ProgrammingJob&) = delete;

  // The Program button: starts a job when idle, aborts the running one otherwise.
  void StartOrAbort() { sequence_.StartOrAbort(); }
  void Start() {
    if (!Running()) sequence_.StartOrAbort();
  }
  void Abort() {
    if (Running()) sequence_.StartOrAbort();
  }
  // One piece of work. A call made from inside one of its own events (a message box's event
  // loop) does nothing.
  void Tick();

  bool Running() const { return sequence_.SequenceStep() != ProgrammingSequence::Idle; }
  ProgrammingSequence::Step step() const { return sequence_.SequenceStep(); }
  bool InTick() const { return inTick_; }
  // The next Tick must come a full timer period after the last one (see TickDriver).
  bool PacedByTimer() const { return sequence_.PacedByTimer(); }
  JobResultCode result() const { return sequence_.result(); }
  // Bytes the step in progress waits for, as far as it knows; 0 when it knows none.
  std::size_t ExpectedBytes() const;

  CommCtrl& port() { return port_; }
  const CommCtrl& port() const { return port_; }
  const SharedTimeout& timeout() const { return timeout_; }
  const BlockProgress& progress() const { return progress_; }
  const ProgramImage& image() const { return *image_; }
  const LoadUserProgram& loadUserProgram() const { return loadUserProgram_; }
  bool inquiryMode() const { return inquiryMode_; }
  // The last job's CPU information report was due and could not be written.
  bool CpuInfoReportLost() const { return cpuInfoReportLost_; }
  // Where the last job's verification found the first byte that differs, if it did.
  std::optional<std::uint32_t> VerifyMismatchAddress() const {
    return inquiryMode_ ? verifyBlocksByRead_.mismatchAddress() : verifyBlocks_.mismatchAddress();
  }
  // What the last job's verification failed on, if it did.
  VerifyFailure VerifyFailureSeen() const {
    return inquiryMode_ ? verifyBlocksByRead_.failure() : verifyBlocks_.failure();
  }

  // Where the CPU information report goes inside the inputs' ExeFolder; a front running several
  // boards gives each its own.
  std::string cpuInfoFileName = kCpuInfoFileName;

 private:
  JobInputs& inputs_;
  SharedTimeout timeout_;
  CommCtrl port_;
  StepContext ctx_;
  std::unique_ptr<ProgramImage> image_;
  BootDefinition bootDefinition_;
  CpuInformation cpuInformation_;
  ResponseBuffer responseBuffer_{};
  bool inquiryMode_ = false;
  BlockProgress progress_;
  bool inTick_ = false;
  bool cpuInfoReportLost_ = false;

  LoadControlProgram loadControlProgram_;
  AdjustBitRate adjustBitRate_;
  TransferControlProgram transferControlProgram_;
  LoadUserProgram loadUserProgram_;
  WriteBlocks writeBlocks_;
  VerifyBlocks verifyBlocks_;
  VerifyBlocksByRead verifyBlocksByRead_;
  InquirySequence inquirySequence_;
  ProgrammingSequence sequence_;
};

}  // namespace vantrel
