#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/shared_timeout.h"
#include "core/step_context.h"
#include "core/window_controls.h"
#include "core/window_display.h"
#include "core/window_fields.h"
#include "core/window_host.h"
#include "inquiry/boot_definition.h"
#include "inquiry/cpu_info_report.h"
#include "inquiry/cpu_information.h"
#include "inquiry/inquiry_sequence.h"
#include "inquiry/response_buffer.h"
#include "job/adjust_bit_rate.h"
#include "job/block_progress.h"
#include "job/programming_sequence.h"
#include "job/transfer_control_program.h"
#include "job/verify_blocks.h"
#include "job/verify_blocks_by_read.h"
#include "job/write_blocks.h"
#include "objfile/load_control_program.h"
#include "objfile/load_user_program.h"
#include "objfile/program_image.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "serial/comm_ctrl.h"

namespace vantrel {

// The main window without a toolkit: its control models, its shared fields, the serial port and
// every step operation of a job. The fronts draw the models and forward events to the handlers.
class TForm1 {
 public:
  TForm1(WindowHost& host, platform::Clock& clock,
         std::unique_ptr<platform::SerialDevice> device = platform::MakeSystemSerialDevice());
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Timer2's tick, every 10 ms.
  void Timer2Timer();
  void ButtonProgramClick();
  // Applies the CPU type named by ComboBoxCpuType: Baud.ini's baud rates, block size, ROM base.
  void ApplyCpuType();

  std::int32_t SequenceStep() const { return sequence_.SequenceStep(); }
  // The next tick must come a full timer period after the last one (see TickDriver).
  bool PacedByTimer() const { return sequence_.PacedByTimer(); }
  const SharedTimeout& timeout() const { return timeout_; }
  bool InquiryMode() const { return inquiryMode_; }
  const BlockProgress& progress() const { return progress_; }
  const ProgramImage& image() const { return *image_; }
  const CpuInformation& cpuInformation() const { return cpuInformation_; }
  const BootDefinition& bootDefinition() const { return bootDefinition_; }
  CommCtrl& port() { return port_; }
  const LoadUserProgram& loadUserProgram() const { return loadUserProgram_; }

  WindowControls controls;
  WindowFields fields;
  // Where the CPU information report goes inside ExeFolder; a front running several boards gives
  // each its own.
  std::string cpuInfoFileName = kCpuInfoFileName;

 private:
  WindowHost& host_;
  SharedTimeout timeout_;
  WindowDisplay display_;
  CommCtrl port_;
  StepContext ctx_;
  std::unique_ptr<ProgramImage> image_;
  BootDefinition bootDefinition_;
  CpuInformation cpuInformation_;
  ResponseBuffer responseBuffer_{};
  bool inquiryMode_ = false;
  BlockProgress progress_;
  bool tickGuard_ = false;

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
