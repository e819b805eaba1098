#include "app/tform1.h"
#include "config/auto_command.h"

namespace vantrel {

bool TForm1::HandleAutoCommand(std::string_view text) {
  const auto argument = AutoCommandArgument(text);
  if (!argument) return false;
  ReadAutoPgm(AutoPgmPath(fields.ExeFolder, *argument));
  return true;
}

void TForm1::ReadAutoPgm(const std::string& path) {
  const AutoPgmValues v = ReadAutoPgmFile(path);
  if (v.Left && v.Top) PlaceWindow(*v.Left, *v.Top);
  if (v.Snap) SetSnapChecked(*v.Snap);
  if (v.Verify) controls.CheckBox1.checked = *v.Verify;
  if (v.AutoStart) fields.AutoStart = *v.AutoStart;
  if (v.AutoExit) fields.AutoExit = *v.AutoExit;
  if (v.ComPortNo) controls.ComboBoxComPort.text = *v.ComPortNo;
  if (v.BaudB) controls.ComboBoxBr1.text = *v.BaudB;
  if (v.BaudP) controls.ComboBoxBr2.text = *v.BaudP;
  if (v.CtrlProgam) controls.ComboBoxCpuType.text = *v.CtrlProgam;
  if (v.UserMotPath) SetUserProgram(*v.UserMotPath, true);
}

void TForm1::LockFixedProgram() {
  controls.ComboBoxBr1.enabled = false;
  controls.ComboBoxBr2.enabled = false;
  controls.ComboBoxCpuType.enabled = false;
  controls.Edit1.enabled = false;
  controls.Button5.enabled = false;
  controls.PanelCpuType.greyed = true;
  controls.PanelBr1.greyed = true;
  controls.PanelBr2.greyed = true;
}

void TForm1::HandleCommandText(std::string_view text) {
  if (HandleAutoCommand(text)) return;
  SetUserProgram(text, true);
}

void TForm1::PerformPendingStart() {
  if (!fields.AutoStart) return;
  fields.AutoStart = false;
  ButtonProgramClick();
}

void TForm1::CommandForwarded(std::string_view sent, std::size_t sentBytes) {
  host_.Beep();
  if (sentBytes >= kForwardedTextLimit) {
    display_.MessageWithoutBeep("Too Long Parameter");
    return;
  }
  // What the receiving buffer holds: up to the first NUL.
  const std::string text(sent.substr(0, sent.find('\0')));
  if (!fields.FixedProgram) {
    host_.MoveFocus(FocusTarget::Button5);
    HandleCommandText(text);
  }
  PerformPendingStart();
}

}  // namespace vantrel
