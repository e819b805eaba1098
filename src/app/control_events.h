#pragma once

#include <string>

#include "app/control_push.h"
#include "app/window_layout.h"

namespace vantrel {

class TForm1;

// What the user did to a control itself, as every front reports it: the control's model takes
// the new text or state, which the widget shows already, and the handler bound to the control
// runs. Events of controls that have none do nothing.

// Edit1 or a combo box now holds this text, typed or picked.
void ControlTyped(TForm1& form, ControlPush& push, ControlId id, std::string text);
// A button was clicked, or a check box clicked into the state `checked`.
void ControlClicked(TForm1& form, ControlPush& push, ControlId id, bool checked = false);

}  // namespace vantrel
