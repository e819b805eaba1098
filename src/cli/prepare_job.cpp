#include "cli/prepare_job.h"

#include <cstdio>

#include "config/auto_command.h"
#include "platform/executable_path.h"
#include "platform/file_access.h"

namespace vantrel::cli {
namespace {

// The job file is there and can be read (a folder cannot).
bool Readable(const std::string& path) {
  std::FILE* file = platform::OpenFileForReading(path);
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

}  // namespace

std::optional<std::string> PrepareJob(TForm1& form, const CliOptions& options,
                                      const std::string& port) {
  form.SetExecutablePath(platform::ExecutablePath());
  if (!options.home.empty()) form.fields.ExeFolder = options.home;
  WindowControls& c = form.controls;
  if (options.job) {
    const std::string path = AutoPgmPath(form.fields.ExeFolder, *options.job);
    if (!Readable(path)) return "cannot read the job file " + path;
    form.ReadAutoPgm(path);
    // The window's flags: this front ends after its one job anyway.
    form.fields.AutoStart = false;
    form.fields.AutoExit = false;
    if (const auto fixed = FindFixedUserProgram(form.fields.ExeFolder)) {
      form.fields.UserProgramPath = *fixed;
      c.Edit1.text = *fixed;
    }
  }
  if (!port.empty()) c.ComboBoxComPort.text = port;
  if (!options.cpu.empty()) c.ComboBoxCpuType.text = options.cpu;
  if (!options.file.empty()) {
    form.fields.UserProgramPath = platform::AbsolutePath(options.file);
    c.Edit1.text = form.fields.UserProgramPath;
  }
  if (c.ComboBoxComPort.text.empty()) return "--port is required (or ComPortNo in the job file)";
  if (c.ComboBoxCpuType.text.empty()) return "--cpu is required (or CtrlProgam in the job file)";
  if (form.fields.UserProgramPath.empty() || c.Edit1.text.empty()) {
    return "the job file names no user program (UserMotPath or a program in @APP_MOT)";
  }
  form.ApplyCpuType();
  if (options.baudBoot) c.ComboBoxBr1.text = *options.baudBoot;
  if (options.baudProg) c.ComboBoxBr2.text = *options.baudProg;
  if (options.verify) c.CheckBox1.checked = true;
  return std::nullopt;
}

}  // namespace vantrel::cli
