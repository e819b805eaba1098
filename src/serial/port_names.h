#pragma once

#include <string>
#include <vector>

#include "serial/comm_ctrl.h"

namespace vantrel {

// The ports that exist: COM1 to COM20, then the USB and ACM serial devices.
std::vector<std::string> ListPorts(const CommCtrl& port);

}  // namespace vantrel
