#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// What the system knows of one serial port. The USB fields are empty for a built-in UART.
struct SerialPortInfo {
  std::string name;    // the name to select: "COMn" for a built-in UART, else the device path
  std::string device;  // the device file
  std::string driver;
  std::string vendorId;
  std::string productId;
  std::string manufacturer;
  std::string product;
  std::string serialNumber;
};

// COM1 to COM20 that have hardware behind them, in that order; on POSIX then the USB and ACM
// serial devices. Read from what the system already knows: no port is opened, since opening
// raises DTR and RTS and resets many boards. On Windows only the name and device are filled.
std::vector<SerialPortInfo> ListSerialPorts();

// The USB and ACM serial devices alone, the last part of that list; none on Windows.
std::vector<SerialPortInfo> ListAdapterPorts();

// POSIX only: the same under another system root (sysfs), for tests.
std::vector<SerialPortInfo> ListSerialPorts(std::string_view sysRoot);
std::vector<SerialPortInfo> ListAdapterPorts(std::string_view sysRoot);

// POSIX only: a built-in UART with hardware behind it, by its COM number (1 = the first).
bool UartPresent(std::string_view sysRoot, unsigned comNumber);

}  // namespace vantrel::platform
