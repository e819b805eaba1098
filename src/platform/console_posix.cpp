#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/console.h"

namespace vantrel::platform {

bool PrepareConsole() {
  return ::isatty(STDERR_FILENO) == 1;
}

int TerminalColumns(StandardStream stream) {
  winsize size{};
  const int fd = stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO;
  if (::ioctl(fd, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace vantrel::platform
