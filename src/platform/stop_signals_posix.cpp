#include <signal.h>

#include "platform/stop_signals.h"

namespace vantrel::platform {
namespace {

volatile sig_atomic_t stopFlag = 0;

void OnStopSignal(int) {
  stopFlag = 1;
}

}  // namespace

void InstallStopSignals() {
  struct sigaction sa {};
  sa.sa_handler = OnStopSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no restart: a waiting poll returns at once
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
}

bool StopRequested() {
  return stopFlag != 0;
}

}  // namespace vantrel::platform
