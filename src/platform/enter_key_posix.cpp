#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "platform/enter_key.h"

namespace vantrel::platform {
namespace {

// A program in the background that reads its terminal is stopped by the system.
bool ForegroundOfTerminal() {
  return ::tcgetpgrp(STDIN_FILENO) == ::getpgrp();
}

}  // namespace

EnterKey::EnterKey() {
  struct stat st {};
  if (::isatty(STDIN_FILENO) == 1) {
    kind_ = Kind::Terminal;
  } else if (::fstat(STDIN_FILENO, &st) == 0 && S_ISFIFO(st.st_mode)) {
    kind_ = Kind::Pipe;
  }
}

void EnterKey::Discard() {
  if (kind_ == Kind::Terminal) {
    if (ForegroundOfTerminal()) ::tcflush(STDIN_FILENO, TCIFLUSH);
    return;
  }
  while (kind_ == Kind::Pipe) {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0) return;
    WaitForPress(0);
  }
}

EnterKey::Wait EnterKey::WaitForPress(std::uint32_t timeoutMs) {
  if (kind_ == Kind::None) return Wait::Gone;
  if (kind_ == Kind::Terminal && !ForegroundOfTerminal()) {
    pollfd none{-1, 0, 0};
    ::poll(&none, 1, static_cast<int>(timeoutMs));
    return Wait::NotYet;
  }
  pollfd p{STDIN_FILENO, POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(timeoutMs)) <= 0) return Wait::NotYet;  // EINTR: Ctrl-C
  if ((p.revents & (POLLIN | POLLHUP)) == 0) {
    kind_ = Kind::None;
    return Wait::Gone;
  }
  // Readable: the read returns at once, with a whole line from a terminal.
  std::array<char, 256> bytes{};
  const ssize_t n = ::read(STDIN_FILENO, bytes.data(), bytes.size());
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return Wait::NotYet;
  if (n <= 0) {
    kind_ = Kind::None;
    return Wait::Gone;
  }
  return std::memchr(bytes.data(), '\n', static_cast<std::size_t>(n)) ? Wait::Pressed
                                                                      : Wait::NotYet;
}

}  // namespace vantrel::platform
