#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel::platform {

// The line settings as the program keeps them (Windows codes: parity 0 none .. 4 space,
// stop bits 0 one, 1 one and a half, 2 two).
struct LineSettings {
  std::uint32_t baudRate = 19200;
  std::uint8_t byteSize = 8;
  std::uint8_t parity = 0;
  std::uint8_t stopBits = 0;
  bool outX = false;
  bool inX = false;
  std::uint8_t xonChar = 0;
  std::uint8_t xoffChar = 0;
};

// One serial device behind CommCtrl: the operating system's port, or a simulated target in tests.
// Every call returns at once except Write, which is bounded by the write time-out.
class SerialDevice {
 public:
  virtual ~SerialDevice() = default;

  // Opens the port for exclusive use (on POSIX in low-latency mode where the driver has one; Close
  // brings the old mode back). False when it is missing or held by another program.
  virtual bool Open(std::string_view portName) = 0;
  virtual bool IsOpen() const = 0;
  // Applies the line settings (raw, no echo, no translation). False when the device refuses them.
  virtual bool Configure(const LineSettings& settings) = 0;
  // A write of n bytes gives up after n * multiplierMs + constantMs.
  virtual bool SetWriteTimeout(std::uint32_t multiplierMs, std::uint32_t constantMs) = 0;
  // Raise or drop a modem line. A device without modem lines reports success.
  virtual bool SetDtr(bool on) = 0;
  virtual bool SetRts(bool on) = 0;
  // Returns the number of bytes written; fewer when the write time-out ran out or the line died.
  virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;
  // Never waits: returns what is already there, 0 when nothing is or the read failed.
  virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
  virtual void Close() = 0;
  // Waits until input is there or timeoutMs have passed; true when input is there. A lost line
  // ends the wait at once. A device that cannot wait (a simulated one) answers at once and leaves
  // the waiting to its caller's clock.
  virtual bool WaitForInput(std::uint32_t timeoutMs) {
    (void)timeoutMs;
    return false;
  }
  // How many received bytes a Read would find now; nullopt when the device cannot tell.
  virtual std::optional<std::size_t> BytesWaiting() const { return std::nullopt; }
  // The line died under an open port (an adapter pulled out, the far end of a pseudo-terminal
  // gone): every later transfer fails. Cleared by the next Open.
  virtual bool LineLost() const { return false; }
  // What an event loop can watch for input: the file descriptor on POSIX; -1 when there is none
  // (a Windows port handle does not signal input: use WaitForInput).
  virtual std::intptr_t PollHandle() const { return -1; }
  // The port exists on this machine (it need not be free).
  virtual bool Exists(std::string_view portName) const = 0;
};

// The operating system's serial device.
std::unique_ptr<SerialDevice> MakeSystemSerialDevice();

// How this system's port names are written, for help texts; a second line starts with a newline
// and is indented to column 20.
std::string_view PortNameHelp();

// The name the system opens. POSIX: COMn names the n-th real UART (/dev/ttyS(n-1)); anything
// else is taken as a device path. Windows: \\.\ and the port name (COM1 to COM99 and beyond).
std::string ResolvePortName(std::string_view portName);

// Why the port name can never become a port, however long one waits: its folder is not there,
// or it names a file that is no device. Empty when a device may yet come there.
std::string NeverAPort(std::string_view portName);

}  // namespace vantrel::platform
