#pragma once

#include <windows.h>

#include "platform/serial_device.h"

namespace vantrel::platform {

// Puts the line settings into a device control block read from the port: 8N1-style raw bytes,
// no hardware flow control, DTR and RTS on, no error replacement. Members the settings do not
// name (XonLim, XoffLim, the reserved ones) keep what the driver gave.
void FillDcb(DCB& dcb, const LineSettings& settings);

}  // namespace vantrel::platform
