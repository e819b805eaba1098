#include "serial/open_port.h"

namespace vantrel {

void OpenPort(CommCtrl& port, JobEvents& events, std::string_view portName,
              std::string_view baudText, bool announce) {
  port.Close();
  port.SetPortName(portName);
  port.SetBaudRate(baudText);
  port.SetByteSize(std::string_view("8"));
  port.SetParity(std::string_view("NONE"));
  port.SetStopBits(std::string_view("1"));
  port.SetOutX(0);
  port.SetInX(0);
  port.SetXonChar(0x11);
  port.SetXoffChar(0x13);
  if (!port.Open()) {
    ReportFailure(events, {JobFailure::PortNotOpened, kPortOpenNg});
  } else if (announce) {
    events.Beep();
    events.Notice(JobNotice::PortOpened, kPortOpenOk);
  }
}

}  // namespace vantrel
