#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/job_choice.h"
#include "app/window_controls.h"
#include "app/window_display.h"
#include "app/window_fields.h"
#include "app/window_host.h"
#include "app/window_job.h"
#include "job/programming_job.h"
#include "job/tick_driver.h"
#include "platform/clock.h"
#include "platform/serial_device.h"

namespace vantrel {

// A forwarded command line of this many bytes or more is refused.
inline constexpr std::size_t kForwardedTextLimit = 260;

// The main window without a toolkit: its control models, its shared fields and its one job, whose
// inputs come from the controls and whose events land on them. The fronts draw the models and
// forward events to the handlers.
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

  ProgrammingSequence::Step SequenceStep() const { return job_.step(); }
  // A tick is running: a box it opened runs an event loop that must not tick again.
  bool InTick() const { return job_.InTick(); }
  // The next tick must come a full timer period after the last one (see TickDriver).
  bool PacedByTimer() const { return job_.PacedByTimer(); }
  const SharedTimeout& timeout() const { return job_.timeout(); }
  const BlockProgress& progress() const { return job_.progress(); }
  const ProgramImage& image() const { return job_.image(); }
  CommCtrl& port() { return job_.port(); }
  const LoadUserProgram& loadUserProgram() const { return job_.loadUserProgram(); }
  // The window's one job, for a tick driver.
  ProgrammingJob& job() { return job_; }
  const ProgrammingJob& job() const { return job_; }

  WindowControls controls;
  WindowFields fields;
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
  WindowDisplay display_;
  WindowJob windowJob_;
  ProgrammingJob job_;
};

}  // namespace vantrel
