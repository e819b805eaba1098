#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// A process that has a port open.
struct PortHolder {
  int pid = 0;
  std::string name;
};

// Why a port may have refused to open, as far as the system tells without opening it.
struct PortDiagnosis {
  enum class Problem { None, Missing, NoPermission, Busy };
  Problem problem = Problem::None;
  std::string device;               // the device file the port name stands for
  std::string group;                // NoPermission: the group that owns the device
  std::vector<PortHolder> holders;  // Busy: the other processes that have it open
};

PortDiagnosis DiagnosePort(std::string_view portName);

// The processes other than this one with the device open, from procRoot/<pid>/fd (only those
// the system lets this user see).
std::vector<PortHolder> ProcessesHolding(const std::string& device, std::string_view procRoot);

}  // namespace vantrel::platform
