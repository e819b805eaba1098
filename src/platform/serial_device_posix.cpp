#include <asm/termbits.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/port_list.h"
#include "platform/serial_device.h"
#include "platform/text.h"

namespace vantrel::platform {
namespace {

// A device without modem-control lines (a pseudo-terminal, some USB adapters) is still a port.
bool ModemLinesMissing(int err) {
  return err == ENOTTY || err == EINVAL;
}

// What a transfer on a hung-up terminal or a removed USB device fails with.
bool LineGone(int err) {
  return err == EIO || err == ENXIO;
}

constexpr short kHangUpEvents = POLLHUP | POLLERR | POLLNVAL;

class PosixSerialDevice final : public SerialDevice {
 public:
  ~PosixSerialDevice() override { Close(); }

  bool Open(std::string_view portName) override {
    if (fd_ >= 0) return false;
    const std::string path = ResolvePortName(portName);
    if (path.empty()) return false;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // flock keeps out every other cooperating opener (root included); TIOCEXCL keeps out the rest.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return false;
    }
    fd_ = fd;
    lost_ = false;
    if (::ioctl(fd, TIOCEXCL) != 0) {
      Close();
      return false;
    }
    SetLowLatency(true);
    return true;
  }

  bool IsOpen() const override { return fd_ >= 0; }

  bool Configure(const LineSettings& s) override {
    if (fd_ < 0) return false;
    termios2 t{};
    if (::ioctl(fd_, TCGETS2, &t) != 0) return false;
    t.c_iflag = IGNBRK;
    if (s.outX) t.c_iflag |= IXON;
    if (s.inX) t.c_iflag |= IXOFF;
    t.c_oflag = 0;
    t.c_lflag = 0;
    t.c_cflag = CREAD | CLOCAL | BOTHER;
    switch (s.byteSize) {
      case 5:
        t.c_cflag |= CS5;
        break;
      case 6:
        t.c_cflag |= CS6;
        break;
      case 7:
        t.c_cflag |= CS7;
        break;
      case 8:
        t.c_cflag |= CS8;
        break;
      default:
        return false;
    }
    switch (s.parity) {
      case 0:
        break;
      case 1:
        t.c_cflag |= PARENB | PARODD;
        break;
      case 2:
        t.c_cflag |= PARENB;
        break;
      case 3:
        t.c_cflag |= PARENB | PARODD | CMSPAR;
        break;
      case 4:
        t.c_cflag |= PARENB | CMSPAR;
        break;
      default:
        return false;
    }
    if (s.stopBits != 0) t.c_cflag |= CSTOPB;
    if (s.baudRate == 0) return false;
    t.c_ispeed = s.baudRate;
    t.c_ospeed = s.baudRate;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    t.c_cc[VSTART] = s.xonChar;
    t.c_cc[VSTOP] = s.xoffChar;
    if (::ioctl(fd_, TCSETS2, &t) != 0) return false;
    ::ioctl(fd_, TCFLSH, TCIOFLUSH);
    return true;
  }

  bool SetWriteTimeout(std::uint32_t multiplierMs, std::uint32_t constantMs) override {
    multiplierMs_ = multiplierMs;
    constantMs_ = constantMs;
    return fd_ >= 0;
  }

  bool SetDtr(bool on) override { return SetModemLine(TIOCM_DTR, on); }
  bool SetRts(bool on) override { return SetModemLine(TIOCM_RTS, on); }

  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    if (fd_ < 0) return 0;
    MonotonicClock clock;
    const std::uint32_t start = clock.NowMs();
    const std::uint64_t limit =
        static_cast<std::uint64_t>(bytes.size()) * multiplierMs_ + constantMs_;
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) {
        if (LineGone(errno)) lost_ = true;
        break;
      }
      const std::uint32_t elapsed = clock.NowMs() - start;
      if (elapsed >= limit) break;
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, static_cast<int>(limit - elapsed));
      if (p.revents & kHangUpEvents) {
        lost_ = true;
        break;
      }
    }
    return done;
  }

  std::size_t Read(std::span<std::uint8_t> buffer) override {
    if (fd_ < 0 || buffer.empty()) return 0;
    const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
    if (n > 0) return static_cast<std::size_t>(n);
    if (n < 0 && LineGone(errno)) lost_ = true;
    // A hung-up terminal reads as empty as an idle one; only poll tells them apart.
    if (n == 0 && !lost_) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 0) > 0 && (p.revents & kHangUpEvents) != 0) lost_ = true;
    }
    return 0;
  }

  bool WaitForInput(std::uint32_t timeoutMs) override {
    if (fd_ < 0 || lost_) return false;
    const int limit = static_cast<int>(std::min<std::uint32_t>(timeoutMs, 1u << 30));
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, limit) <= 0) return false;
    // The caller learns of it at once and ends its wait; it never polls a dead line again.
    if ((p.revents & kHangUpEvents) != 0) {
      lost_ = true;
      return false;
    }
    return (p.revents & POLLIN) != 0;
  }

  std::optional<std::size_t> BytesWaiting() const override {
    int n = 0;
    if (fd_ < 0 || lost_ || ::ioctl(fd_, TIOCINQ, &n) != 0 || n < 0) return std::nullopt;
    return static_cast<std::size_t>(n);
  }

  bool LineLost() const override { return lost_; }
  std::intptr_t PollHandle() const override { return fd_; }

  void Close() override {
    if (fd_ < 0) return;
    SetLowLatency(false);
    // The exclusive mark belongs to the terminal, not to this descriptor: left set, it outlives
    // the close while any other descriptor of the terminal is open, and then only root may open
    // the port again (our own reopen at the programming rate included).
    ::ioctl(fd_, TIOCNXCL);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
  }

  bool Exists(std::string_view portName) const override {
    // Never opened: opening raises DTR and RTS, and that resets many boards.
    const std::string path = ResolvePortName(portName);
    constexpr std::string_view kUart = "/dev/ttyS";
    if (path.starts_with(kUart) && path != portName) {
      const auto n = ParseUnsigned(path.substr(kUart.size()), 0xFFFFFFFEu);
      return n && UartPresent("/sys", static_cast<unsigned>(*n + 1));
    }
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
  }

 private:
  bool SetModemLine(int line, bool on) {
    if (fd_ < 0) return false;
    if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
    return ModemLinesMissing(errno);
  }

  // A USB adapter in low-latency mode passes each received byte on at once instead of holding
  // it up to its latency timer (often 16 ms), which one awaited answer per block pays again and
  // again. Only what this open turned on is turned off again. A pseudo-terminal refuses it.
  void SetLowLatency(bool on) {
    if (!on && !lowLatencySet_) return;
    lowLatencySet_ = false;
    serial_struct s{};
    if (::ioctl(fd_, TIOCGSERIAL, &s) != 0) return;
    if (((s.flags & ASYNC_LOW_LATENCY) != 0) == on) return;
    constexpr int kFlag = ASYNC_LOW_LATENCY;
    s.flags = on ? (s.flags | kFlag) : (s.flags & ~kFlag);
    lowLatencySet_ = ::ioctl(fd_, TIOCSSERIAL, &s) == 0 && on;
  }

  int fd_ = -1;
  bool lost_ = false;
  bool lowLatencySet_ = false;
  std::uint32_t multiplierMs_ = 0;
  std::uint32_t constantMs_ = 500;
};

}  // namespace

std::unique_ptr<SerialDevice> MakeSystemSerialDevice() {
  return std::make_unique<PosixSerialDevice>();
}

std::string_view PortNameHelp() {
  return "a device path (/dev/ttyUSB0, a pseudo-terminal) or COMn,\n"
         "                    which names /dev/ttyS(n-1)";
}

std::string ResolvePortName(std::string_view portName) {
  if (portName.size() > 3 && EqualsIgnoringCase(portName.substr(0, 3), "COM")) {
    const std::string_view digits = portName.substr(3);
    unsigned n = 0;
    for (char c : digits) {
      if (!std::isdigit(static_cast<unsigned char>(c)) || n > 1000) return std::string(portName);
      n = n * 10 + static_cast<unsigned>(c - '0');
    }
    if (n >= 1) return "/dev/ttyS" + std::to_string(n - 1);
  }
  return std::string(portName);
}

std::string NeverAPort(std::string_view portName) {
  const std::string path = ResolvePortName(portName);
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISCHR(st.st_mode)) return {};
    return path + (S_ISDIR(st.st_mode) ? " is a folder" : " is a file") + ", not a device";
  }
  // A folder we may not look into, or a link whose device has gone, may yet hold one.
  if (errno != ENOENT && errno != ENOTDIR) return {};
  const auto slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
  if (::stat(folder.c_str(), &st) == 0) {
    return S_ISDIR(st.st_mode) ? std::string() : folder + " is a file, not a folder";
  }
  // udev makes the folders under /dev with their first device (/dev/serial/by-id).
  if (folder.starts_with("/dev/")) return {};
  return "the folder " + folder + " does not exist";
}

}  // namespace vantrel::platform
