#include "app/tform1.h"
#include "config/settings_file.h"
#include "core/format.h"

namespace vantrel {

void TForm1::ReadSettings() {
  const SettingsValues v = ReadSettingsFile(fields.SettingsPath, fields.ExeFolder);
  PlaceWindow(v.Left, v.Top);
  controls.ComboBoxComPort.text = v.PortNo;
  controls.ComboBoxBr1.text = v.BaudB;
  controls.ComboBoxBr2.text = v.BaudP;
  controls.ComboBoxCpuType.text = v.CPU;
  controls.CheckBox1.checked = v.Verify;
  SetSnapChecked(v.Snap);
  fields.LastFolder = v.OD1_Path;
  fields.UserProgramPath = v.MOT_Path;
  tickMode = ParseTickMode(v.Cadence).value_or(TickMode::Fast);
}

bool TForm1::WriteSettings() {
  SettingsValues v;
  v.Top = controls.Form.top;
  v.Left = controls.Form.left;
  v.PortNo = controls.ComboBoxComPort.text;
  v.BaudB = controls.ComboBoxBr1.text;
  v.BaudP = controls.ComboBoxBr2.text;
  v.CPU = controls.ComboBoxCpuType.text;
  v.Verify = controls.CheckBox1.checked;
  v.Snap = controls.CheckBox2.checked;
  v.OD1_Path = fields.LastFolder;
  v.MOT_Path = fields.UserProgramPath;
  if (WriteSettingsFile(fields.SettingsPath, v)) return true;
  display_.Message(Format("%s に書き込めません", fields.SettingsPath.c_str()));
  return false;
}

void TForm1::FormClose() {
  // The user was told when the settings could not be saved; the window closes all the same.
  WriteSettings();
  host_.ExitProcess(static_cast<int>(fields.JobResult));
}

}  // namespace vantrel
