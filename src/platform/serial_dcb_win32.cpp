#include "platform/serial_dcb_win32.h"

namespace vantrel::platform {

void FillDcb(DCB& dcb, const LineSettings& s) {
  dcb.BaudRate = s.baudRate;
  dcb.ByteSize = s.byteSize;
  dcb.Parity = s.parity;
  dcb.StopBits = s.stopBits;
  dcb.XonChar = static_cast<char>(s.xonChar);
  dcb.XoffChar = static_cast<char>(s.xoffChar);
  dcb.ErrorChar = 0x3F;
  dcb.EofChar = 0;
  dcb.EvtChar = 0;
  dcb.fBinary = 1;
  dcb.fParity = s.parity != 0 ? 1 : 0;
  dcb.fOutxCtsFlow = 0;
  dcb.fOutxDsrFlow = 0;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = 0;
  dcb.fTXContinueOnXoff = 1;
  dcb.fOutX = s.outX ? 1 : 0;
  dcb.fInX = s.inX ? 1 : 0;
  dcb.fErrorChar = 0;
  dcb.fNull = 0;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fAbortOnError = 0;
}

}  // namespace vantrel::platform
