#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <initializer_list>

#include "platform/termination_signal.h"

namespace vantrel::platform {
namespace {

int gPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  // The code the signal interrupted may be about to read errno; a full pipe must not change it.
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const auto n = ::write(gPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

int TerminationSignalDescriptor() {
  if (gPipe[0] >= 0) return gPipe[0];
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  struct sigaction sa {};
  sa.sa_handler = OnTerminationSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
  return gPipe[0];
}

void DrainTerminationSignal() {
  if (gPipe[0] < 0) return;
  char byte;
  while (::read(gPipe[0], &byte, 1) == 1) {
  }
}

}  // namespace vantrel::platform
