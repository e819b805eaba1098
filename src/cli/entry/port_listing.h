#pragma once

#include <string>
#include <vector>

#include "platform/port_list.h"

namespace vantrel::cli {

// --list-ports: a header line, then one tab-separated line per port ("-" for what the system
// does not know). No ports: the header alone.
std::string FormatPortList(const std::vector<platform::SerialPortInfo>& ports);

}  // namespace vantrel::cli
