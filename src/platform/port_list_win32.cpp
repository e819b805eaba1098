#include <string>

#include "platform/port_list.h"
#include "platform/serial_device.h"

namespace vantrel::platform {

std::vector<SerialPortInfo> ListSerialPorts() {
  std::vector<SerialPortInfo> ports;
  const auto device = MakeSystemSerialDevice();
  for (unsigned n = 1; n <= 20; ++n) {
    SerialPortInfo info;
    info.name = "COM" + std::to_string(n);
    if (!device->Exists(info.name)) continue;
    info.device = ResolvePortName(info.name);
    ports.push_back(std::move(info));
  }
  return ports;
}

std::vector<SerialPortInfo> ListAdapterPorts() {
  return {};
}

}  // namespace vantrel::platform
