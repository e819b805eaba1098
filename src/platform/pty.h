#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vantrel::platform {

// The master side of a pseudo-terminal: the simulated target's end of a serial line whose other
// end, the slave device, a host opens like any serial port. The slave is never kept open here,
// so the host's exclusive use of it works as on a real port.
class PtyMaster {
 public:
  enum class Event { Timeout, Input, NoHost, Failed };

  PtyMaster() = default;
  ~PtyMaster();
  PtyMaster(const PtyMaster&) = delete;
  PtyMaster& operator=(const PtyMaster&) = delete;

  // Creates the pair with a raw 8N1 slave. False, with a reason in *error, when that fails.
  bool Open(std::string* error);
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& slavePath() const { return slavePath_; }
  // Makes `path` a symbolic link to the slave, taking over a link a killed target left there;
  // Close removes it. False, with a reason in *error, when that fails or `path` is not a link.
  bool Link(const std::string& path, std::string* error);

  // Waits up to timeoutUs for bytes from the host. NoHost at once while nobody has the slave open.
  Event Wait(std::uint64_t timeoutUs);
  // What the host has sent so far; 0 when nothing is there or no host has the slave open.
  std::size_t Read(std::span<std::uint8_t> buffer);
  // Writes the bytes; gives up on the rest when the host has not taken them within timeoutMs.
  std::size_t Write(std::span<const std::uint8_t> bytes, int timeoutMs);
  // The rate the host has set on the slave (any rate, not only the standard ones); 0 if unknown.
  std::uint32_t HostBaud() const;
  // Closing the master hangs up the line: the host's reads and writes fail from then on.
  void Close();

 private:
  void Unlink();

  int fd_ = -1;
  std::string slavePath_;
  std::string linkPath_;
};

// A monotonic count of microseconds.
std::uint64_t MonotonicMicros();

}  // namespace vantrel::platform
