#include "serial/open_port.h"

namespace vantrel {

void OpenPort(CommCtrl& port, WindowDisplay& display, std::string_view baudText, bool announce) {
  port.Close();
  port.SetPortName(display.controls().ComboBoxComPort.text);
  port.SetBaudRate(baudText);
  port.SetByteSize(std::string_view("8"));
  port.SetParity(std::string_view("NONE"));
  port.SetStopBits(std::string_view("1"));
  port.SetOutX(0);
  port.SetInX(0);
  port.SetXonChar(0x11);
  port.SetXoffChar(0x13);
  if (!port.Open()) {
    display.Message(kPortOpenNg, FailureKind::PortNotOpened);
  } else if (announce) {
    display.Message(kPortOpenOk);
  }
}

}  // namespace vantrel
