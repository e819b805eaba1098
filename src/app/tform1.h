#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/job_choice.h"
#include "app/tick_driver.h"
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
#include "job/load_control_program.h"
#include "job/load_user_program.h"
#include "job/programming_sequence.h"
#include "job/transfer_control_program.h"
#include "job/verify_blocks.h"
#include "job/verify_blocks_by_read.h"
#include "job/write_blocks.h"
#include "objfile/program_image.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "serial/comm_ctrl.h"

namespace vantrel {

// A forwarded command line of this many bytes or more is refused.
inline constexpr std::size_t kForwardedTextLimit = 260;

// The main window without a toolkit: its control models, its shared fields, the serial port and
// every step operation of a job. The fronts draw the models and forward events to the handlers.
// The command line as the window takes it: the first four arguments joined without a separator.
std::string JoinCommandText(const std::vector<std::string>& arguments);

class TForm1 {
 public:
  TForm1(WindowHost& host, platform::Clock& clock,
         std::unique_ptr<platform::SerialDevice> device = platform::MakeSystemSerialDevice());
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The window initialisation, once, before the event loop runs: captions, paths, lists, the
  // settings file, the command line, the user program, the CPU type; later steps win.
  void Initialise(const std::string& executablePath, const std::vector<std::string>& arguments);

  // ExeFolder, DataFolder and SettingsPath as FindFileLocations decides them for this copy,
  // before anything reads a file beside the executable.
  void SetExecutablePath(const std::string& executablePath);

  // Event handlers, bound by the fronts.
  void Timer2Timer();
  void ButtonProgramClick();
  void Button5Click();
  void Edit1Enter();
  void Edit1Exit();
  void ComboBoxCpuTypeChange() { ApplyCpuType(); }
  void CheckBox2Click() { SnapWindow(); }
  // Files dropped on the window; only the first counts.
  void FilesDropped(const std::vector<std::string>& paths);
  // The user finished moving the window.
  void WindowMoveEnded() { SnapWindow(); }
  // Saves the settings and ends the process with JobResult.
  void FormClose();

  // A command line handed over by a later copy of the program: beep, then like the start-up's own.
  // The length limit counts the bytes as they were sent (sentBytes), whatever their encoding.
  void CommandForwarded(std::string_view text, std::size_t sentBytes);
  void CommandForwarded(std::string_view bytes) { CommandForwarded(bytes, bytes.size()); }
  // True when the text is "-GO [file]"; that AutoPgm.ini has then been read and applied.
  bool HandleAutoCommand(std::string_view text);
  void ReadAutoPgm(const std::string& path);

  // Applies the CPU type named by ComboBoxCpuType: Baud.ini's baud rates, block size, ROM base.
  void ApplyCpuType();
  void FillPortList();
  void FillCpuTypeList();
  void ReadSettings();
  // False after the "cannot write" message.
  bool WriteSettings();
  // Takes a user program path unless its extension is wrong (then a message when asked).
  void SetUserProgram(std::string_view path, bool messageOnWrongExtension);
  void PlaceWindow(std::int32_t left, std::int32_t top);
  void SnapWindow();
  // Checks or unchecks Snap as the program does; a change runs CheckBox2Click.
  void SetSnapChecked(bool checked);

  // Sets up a job as a front without widgets names it: the job file (and its fixed program),
  // then the choices given, the CPU type's Baud.ini section, then the baud rates given.
  MissingChoice ChooseJob(const JobChoice& choice);

  std::int32_t SequenceStep() const { return sequence_.SequenceStep(); }
  // Timer2Timer is running: a box it opened runs an event loop that must not tick again.
  bool InTick() const { return tickGuard_; }
  // The next tick must come a full timer period after the last one (see TickDriver).
  bool PacedByTimer() const { return sequence_.PacedByTimer(); }
  const SharedTimeout& timeout() const { return timeout_; }
  const BlockProgress& progress() const { return progress_; }
  const ProgramImage& image() const { return *image_; }
  CommCtrl& port() { return port_; }
  const LoadUserProgram& loadUserProgram() const { return loadUserProgram_; }
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

  WindowControls controls;
  WindowFields fields;
  // Where the CPU information report goes inside ExeFolder; a front running several boards gives
  // each its own.
  std::string cpuInfoFileName = kCpuInfoFileName;
  // How often a front runs Timer2Timer; the settings file may ask for the 10 ms timer.
  TickMode tickMode = TickMode::Fast;

 private:
  // A command first, else a user program path.
  void HandleCommandText(std::string_view text);
  // Disables what a fixed user program locks.
  void LockFixedProgram();
  // Presses the Program button when automatic programming asked for it.
  void PerformPendingStart();

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
