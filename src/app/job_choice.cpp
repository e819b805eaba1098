#include "app/job_choice.h"

#include "app/tform1.h"
#include "config/auto_command.h"

namespace vantrel {

MissingChoice TForm1::ChooseJob(const JobChoice& choice) {
  if (choice.jobFile) {
    ReadAutoPgm(*choice.jobFile);
    // The window's flags: a front that runs one job ends after it anyway.
    fields.AutoStart = false;
    fields.AutoExit = false;
    if (const auto fixed = FindFixedUserProgram(fields.ExeFolder)) {
      fields.UserProgramPath = *fixed;
      controls.Edit1.text = *fixed;
    }
  }
  if (!choice.port.empty()) controls.ComboBoxComPort.text = choice.port;
  if (!choice.cpuType.empty()) controls.ComboBoxCpuType.text = choice.cpuType;
  if (!choice.userProgram.empty()) {
    fields.UserProgramPath = choice.userProgram;
    controls.Edit1.text = choice.userProgram;
  }
  if (controls.ComboBoxComPort.text.empty()) return MissingChoice::Port;
  if (controls.ComboBoxCpuType.text.empty()) return MissingChoice::CpuType;
  if (fields.UserProgramPath.empty() || controls.Edit1.text.empty()) {
    return MissingChoice::UserProgram;
  }
  // The CPU type's Baud.ini section, then the rates given, which win over it.
  ApplyCpuType();
  if (choice.baudBoot) controls.ComboBoxBr1.text = *choice.baudBoot;
  if (choice.baudProg) controls.ComboBoxBr2.text = *choice.baudProg;
  if (choice.verify) controls.CheckBox1.checked = true;
  return MissingChoice::None;
}

}  // namespace vantrel
