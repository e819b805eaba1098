#pragma once

#include "core/window_controls.h"
#include "serial/comm_ctrl.h"

namespace vantrel {

// Replaces the combo box's items with the ports that exist: COM1 to COM20, then the USB and ACM
// serial devices. Its text stays as it is.
void FillPortList(ComboBoxModel& combo, const CommCtrl& port);

}  // namespace vantrel
