#include <windows.h>

#include "platform/console.h"

namespace vantrel::platform {

bool PrepareConsole() {
  ::SetConsoleOutputCP(CP_UTF8);
  const HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (err == INVALID_HANDLE_VALUE || !::GetConsoleMode(err, &mode)) return false;
  // Consoles before Windows 10 cannot erase a line: they get one line per phase instead.
  return ::SetConsoleMode(err, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

}  // namespace vantrel::platform
