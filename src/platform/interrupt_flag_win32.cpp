#include <windows.h>

#include <atomic>

#include "platform/interrupt_flag.h"

namespace vantrel::platform {
namespace {

std::atomic<bool> interruptFlag{false};

// Runs on a thread of its own. Closing the console or logging off is left to the system's
// default, which ends the process; the system closes the port then.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  interruptFlag = true;
  return TRUE;
}

}  // namespace

void InstallInterruptFlag() {
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool InterruptRequested() {
  return interruptFlag;
}

}  // namespace vantrel::platform
