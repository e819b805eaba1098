// serial-probe.exe: the Windows serial device on a port the Linux side drives (test_e2e_wine).
// Sends the 256 byte values, waits for them to come back and reports what it saw on one line.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "platform/serial_device.h"

int main(int argc, char** argv) {
  using namespace vantrel::platform;
  if (argc != 2) return 64;
  const auto port = MakeSystemSerialDevice();
  // As CommCtrl opens a port: the DTR and RTS calls fail on Wine's pseudo-terminal ports.
  if (!port->Open(argv[1]) || !port->Configure({38400, 8, 0, 0, false, false, 0x11, 0x13}) ||
      !port->SetWriteTimeout(1, 500) || !port->SetDtr(true) || !port->SetRts(true)) {
    std::puts("open failed");
    return 3;
  }
  std::vector<std::uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
  const std::size_t sent = port->Write(all);
  // Nothing comes back before the other side has everything: a short wait must end empty.
  DWORD start = ::GetTickCount();
  const bool early = port->WaitForInput(100);
  const DWORD quietMs = ::GetTickCount() - start;
  std::vector<std::uint8_t> got;
  start = ::GetTickCount();
  while (got.size() < all.size() && ::GetTickCount() - start < 10000) {
    if (!port->WaitForInput(1000)) continue;
    std::uint8_t buffer[300];
    const std::size_t n = port->Read(buffer);
    got.insert(got.end(), buffer, buffer + n);
  }
  port->Close();
  std::printf("sent=%zu early=%d quiet-ms=%lu got=%zu same=%d\n", sent, early ? 1 : 0, quietMs,
              got.size(), got == all ? 1 : 0);
  return got == all && sent == all.size() && !early ? 0 : 1;
}
