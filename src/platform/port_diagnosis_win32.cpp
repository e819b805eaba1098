#include "platform/port_diagnosis.h"
#include "platform/serial_device.h"

namespace vantrel::platform {

// Windows tells who holds a port only to tools with more rights than a user has; a port that is
// not there is all that can be said.
PortDiagnosis DiagnosePort(std::string_view portName) {
  PortDiagnosis d;
  d.device = ResolvePortName(portName);
  if (!MakeSystemSerialDevice()->Exists(portName)) d.problem = PortDiagnosis::Problem::Missing;
  return d;
}

void FindProcessesHolding(PortDiagnosis&, std::string_view) {}

}  // namespace vantrel::platform
