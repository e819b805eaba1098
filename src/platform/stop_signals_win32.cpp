#include <windows.h>

#include <atomic>

#include "platform/stop_signals.h"

namespace vantrel::platform {
namespace {

std::atomic<bool> stopFlag{false};

// Runs on a thread of its own. Closing the console or logging off is left to the system's
// default, which ends the process; the system closes the port then.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  stopFlag = true;
  return TRUE;
}

}  // namespace

void InstallStopSignals() {
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool StopRequested() {
  return stopFlag;
}

}  // namespace vantrel::platform
