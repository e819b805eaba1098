#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/serial_device.h"

namespace vantrel {

// What has passed through the port since it was made; a tick driver compares two readings to
// tell a call that waited for the target from one that got on with its work.
struct LineActivity {
  std::uint64_t bytesSent = 0;
  std::uint64_t bytesReceived = 0;
  std::uint64_t emptyReads = 0;  // reads that found nothing (the port closed counts as nothing)
};

// The program's one serial port: settings are stored first, Open applies them in one go, then the
// protocol code sends bytes and polls for received ones without ever waiting.
// Open means open and configured.
enum class PortStatus : int { Closed = 0, Open = 1 };

class CommCtrl {
 public:
  // Uses the operating system's serial device.
  CommCtrl();
  // Uses the given device (a simulated target in tests).
  explicit CommCtrl(std::unique_ptr<platform::SerialDevice> device);
  ~CommCtrl();
  CommCtrl(const CommCtrl&) = delete;
  CommCtrl& operator=(const CommCtrl&) = delete;

  void SetPortName(std::string_view name);
  void SetBaudRate(std::uint32_t rate);
  // The number at the start of the text, as atol reads it.
  void SetBaudRate(std::string_view text);
  void SetByteSize(std::uint8_t size);
  void SetParity(std::uint8_t parity);
  void SetStopBits(std::uint8_t stopBits);
  // False for a text they do not know; the byte size then stays, parity and stop bits fall back
  // to none and one.
  bool SetByteSize(std::string_view text);
  bool SetParity(std::string_view text);
  bool SetStopBits(std::string_view text);
  void SetOutX(std::uint8_t on);
  void SetInX(std::uint8_t on);
  void SetXonChar(std::uint8_t c);
  void SetXoffChar(std::uint8_t c);

  bool Open();
  void Close();
  // The byte's value when exactly one byte was written, otherwise -1.
  int PutByte(std::uint8_t byte);
  std::size_t Write(std::span<const std::uint8_t> bytes);
  std::size_t Read(std::span<std::uint8_t> buffer);
  // The next received byte, or -1 when none is waiting.
  int GetByte();
  // Microseconds one character takes on the line with the settings last applied by Open.
  std::uint32_t CharTime() const;
  bool PortExists(std::string_view name) const;
  // Returns once a byte can be read or ms have passed on the clock; a closed port only lets the
  // time pass. True when a byte is there.
  bool WaitForInput(std::uint32_t ms, platform::Clock& clock);
  // Received bytes a GetByte would find without waiting; nullopt when the device cannot tell.
  std::optional<std::size_t> BytesWaiting() const;
  // What an event loop watches for input while the port is open; -1 otherwise.
  std::intptr_t PollHandle() const;
  // Since the last Open, a write the open port did not take whole, or the device lost its line:
  // whatever the job waits for will not come.
  bool LineLost() const { return writeFailed_ || device_->LineLost(); }
  const LineActivity& activity() const { return activity_; }

  const platform::LineSettings& settings() const { return settings_; }
  PortStatus status() const { return status_; }

 private:
  std::unique_ptr<platform::SerialDevice> device_;
  std::string portName_ = "COM1";
  platform::LineSettings settings_{};
  platform::LineSettings applied_{};  // the device control block as last written by Open
  PortStatus status_ = PortStatus::Closed;
  bool writeFailed_ = false;
  // Room for a whole read answer of the largest block with its header, in one read.
  std::array<std::uint8_t, 1024> rxBuffer_{};
  std::uint32_t readPos_ = 0;
  std::uint32_t fillCount_ = 0;
  LineActivity activity_;
};

}  // namespace vantrel
