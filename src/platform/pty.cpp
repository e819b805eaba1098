#include "platform/pty.h"

#include <asm/termbits.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <array>

namespace vantrel::platform {
namespace {

std::uint32_t StandardRate(unsigned code) {
  struct Entry {
    unsigned code;
    std::uint32_t rate;
  };
  static constexpr std::array<Entry, 23> kRates = {{
      {B50, 50},         {B75, 75},         {B110, 110},         {B134, 134},
      {B150, 150},       {B200, 200},       {B300, 300},         {B600, 600},
      {B1200, 1200},     {B1800, 1800},     {B2400, 2400},       {B4800, 4800},
      {B9600, 9600},     {B19200, 19200},   {B38400, 38400},     {B57600, 57600},
      {B115200, 115200}, {B230400, 230400}, {B460800, 460800},   {B500000, 500000},
      {B576000, 576000}, {B921600, 921600}, {B1000000, 1000000},
  }};
  for (const auto& e : kRates) {
    if (e.code == code) return e.rate;
  }
  return 0;
}

std::string ErrorText(const char* what) {
  return std::string(what) + ": " + strerror(errno);
}

}  // namespace

PtyMaster::~PtyMaster() {
  Close();
}

bool PtyMaster::Open(std::string* error) {
  Close();
  const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (fd < 0) {
    if (error) *error = ErrorText("posix_openpt");
    return false;
  }
  char name[128] = {};
  termios2 t{};
  if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || ::ptsname_r(fd, name, sizeof name) != 0 ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK) != 0 ||
      ::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0 || ::ioctl(fd, TCGETS2, &t) != 0) {
    if (error) *error = ErrorText("pseudo-terminal set-up");
    ::close(fd);
    return false;
  }
  // The master's termios calls reach the slave's settings: raw 8N1 before any host sees it.
  t.c_iflag = IGNBRK;
  t.c_oflag = 0;
  t.c_lflag = 0;
  // A standard rate code, not BOTHER: Wine refuses to read the settings of a port whose rate
  // it cannot name, and so would never open it.
  t.c_cflag = CS8 | CREAD | CLOCAL | B9600;
  t.c_ispeed = t.c_ospeed = 9600;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  if (::ioctl(fd, TCSETS2, &t) != 0) {
    if (error) *error = ErrorText("setting the slave raw");
    ::close(fd);
    return false;
  }
  // Opening and closing the slave once makes the master report a hang-up until a host opens it,
  // which is how the absence of a host shows.
  const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave < 0) {
    if (error) *error = ErrorText(name);
    ::close(fd);
    return false;
  }
  ::close(slave);
  fd_ = fd;
  slavePath_ = name;
  return true;
}

PtyMaster::Event PtyMaster::Wait(std::uint64_t timeoutUs) {
  if (fd_ < 0) return Event::Failed;
  pollfd p{fd_, POLLIN, 0};
  const timespec limit{static_cast<time_t>(timeoutUs / 1'000'000),
                       static_cast<long>(timeoutUs % 1'000'000) * 1000};
  const int n = ::ppoll(&p, 1, &limit, nullptr);
  if (n < 0) return errno == EINTR ? Event::Timeout : Event::Failed;
  if (n == 0) return Event::Timeout;
  if (p.revents & POLLIN) return Event::Input;
  if (p.revents & POLLHUP) return Event::NoHost;
  return Event::Failed;
}

std::size_t PtyMaster::Read(std::span<std::uint8_t> buffer) {
  if (fd_ < 0 || buffer.empty()) return 0;
  const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
  return n > 0 ? static_cast<std::size_t>(n) : 0;  // EIO: the host has closed the slave
}

std::size_t PtyMaster::Write(std::span<const std::uint8_t> bytes, int timeoutMs) {
  std::size_t done = 0;
  const std::uint64_t limit = MonotonicMicros() + static_cast<std::uint64_t>(timeoutMs) * 1000;
  while (fd_ >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) break;
    const std::uint64_t now = MonotonicMicros();
    if (now >= limit) break;
    pollfd p{fd_, POLLOUT, 0};
    ::poll(&p, 1, static_cast<int>((limit - now) / 1000 + 1));
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) break;
  }
  return done;
}

bool PtyMaster::Link(const std::string& path, std::string* error) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      if (error) *error = path + ": is there and is not a symbolic link";
      return false;
    }
    ::unlink(path.c_str());
  }
  if (::symlink(slavePath_.c_str(), path.c_str()) != 0) {
    if (error) *error = ErrorText(path.c_str());
    return false;
  }
  linkPath_ = path;
  return true;
}

// A link another target has taken over since is left to that one.
void PtyMaster::Unlink() {
  if (linkPath_.empty()) return;
  char target[256] = {};
  const ssize_t n = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
  if (n > 0 && slavePath_ == std::string(target, static_cast<std::size_t>(n))) {
    ::unlink(linkPath_.c_str());
  }
  linkPath_.clear();
}

std::uint32_t PtyMaster::HostBaud() const {
  if (fd_ < 0) return 0;
  termios2 t{};
  if (::ioctl(fd_, TCGETS2, &t) != 0) return 0;
  const unsigned code = t.c_cflag & CBAUD;
  return code == BOTHER ? t.c_ospeed : StandardRate(code);
}

void PtyMaster::Close() {
  Unlink();
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

std::uint64_t MonotonicMicros() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1'000'000u +
         static_cast<std::uint64_t>(ts.tv_nsec) / 1000u;
}

}  // namespace vantrel::platform
