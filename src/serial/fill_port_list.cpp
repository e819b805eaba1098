#include "serial/fill_port_list.h"

#include "core/format.h"
#include "platform/port_list.h"

namespace vantrel {

void FillPortList(ComboBoxModel& combo, const CommCtrl& port) {
  combo.items.clear();
  for (int n = 1; n <= 20; ++n) {
    std::string name = Format("COM%d", n);
    if (port.PortExists(name)) combo.items.push_back(std::move(name));
  }
  for (auto& info : platform::ListAdapterPorts()) combo.items.push_back(std::move(info.name));
}

}  // namespace vantrel
