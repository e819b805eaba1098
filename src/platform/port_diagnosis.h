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
  // NotADevice: the path is there but is no character device (a file, a folder), so no port.
  enum class Problem { None, Missing, NotADevice, NoPermission, Busy };
  // NoPermission: where the user stands with the group that owns the device.
  enum class Membership { NotListed, ListedButNotThisLogin, Member };
  Problem problem = Problem::None;
  std::string device;  // the device file the port name stands for
  std::string owner;   // the user that owns the device
  std::string group;   // the group that owns the device
  std::string mode;    // its type and permissions as ls shows them ("crw-rw----")
  std::string user;    // who is asking
  Membership membership = Membership::NotListed;
  std::vector<PortHolder> holders;  // Busy: the other processes that have it open
  // Processes whose open files this user may not look into (other users'): one of them may hold
  // the port without being named.
  int unseenProcesses = 0;
};

PortDiagnosis DiagnosePort(std::string_view portName);

// Fills holders and unseenProcesses from procRoot/<pid>/fd for the diagnosis's device.
void FindProcessesHolding(PortDiagnosis& diagnosis, std::string_view procRoot);

}  // namespace vantrel::platform
