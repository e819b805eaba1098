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

int TerminalColumns(StandardStream stream) {
  const HANDLE handle =
      ::GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (handle == INVALID_HANDLE_VALUE || !::GetConsoleScreenBufferInfo(handle, &info)) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

}  // namespace vantrel::platform
