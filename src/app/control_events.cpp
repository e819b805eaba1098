#include "app/control_events.h"

#include "app/tform1.h"

namespace vantrel {

void ControlTyped(TForm1& form, ControlPush& push, ControlId id, std::string text) {
  WindowControls& c = form.controls;
  std::string* model = id == ControlId::Edit1             ? &c.Edit1.text
                       : id == ControlId::ComboBoxCpuType ? &c.ComboBoxCpuType.text
                       : id == ControlId::ComboBoxComPort ? &c.ComboBoxComPort.text
                       : id == ControlId::ComboBoxBr1     ? &c.ComboBoxBr1.text
                       : id == ControlId::ComboBoxBr2     ? &c.ComboBoxBr2.text
                                                          : nullptr;
  if (model == nullptr) return;
  *model = std::move(text);
  push.Shown(c, id);
  if (id == ControlId::ComboBoxCpuType) form.ComboBoxCpuTypeChange();
}

void ControlClicked(TForm1& form, ControlPush& push, ControlId id, bool checked) {
  WindowControls& c = form.controls;
  switch (id) {
    case ControlId::CheckBox1:
      c.CheckBox1.checked = checked;
      push.Shown(c, id);
      return;
    case ControlId::CheckBox2:
      c.CheckBox2.checked = checked;
      push.Shown(c, id);
      form.CheckBox2Click();
      return;
    case ControlId::Button5:
      form.Button5Click();
      return;
    case ControlId::ButtonProgram:
      form.ButtonProgramClick();
      return;
    default:
      return;
  }
}

}  // namespace vantrel
