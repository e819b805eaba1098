#include "serial/port_names.h"

#include "core/format.h"
#include "platform/port_list.h"

namespace vantrel {

std::vector<std::string> ListPorts(const CommCtrl& port) {
  std::vector<std::string> items;
  for (int n = 1; n <= 20; ++n) {
    std::string name = Format("COM%d", n);
    if (port.PortExists(name)) items.push_back(std::move(name));
  }
  for (auto& info : platform::ListAdapterPorts()) items.push_back(std::move(info.name));
  return items;
}

}  // namespace vantrel
