// window-probe.exe: looks at the window of vantrel.exe from outside, through the Windows API, for
// the tests under Wine (test_process_wine).
//   window-probe wait       the main window is up (within 20 s)
//   window-probe client     the main window's client size
//   window-probe count      how many main windows there are
//   window-probe box        the text of the "vtl" message box (within 20 s)
//   window-probe press      the same, then presses OK
//   window-probe close      closes the main window as its close box does
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/window_controls.h"
#include "platform/utf16_win32.h"

namespace {

using vantrel::platform::Narrow;
using vantrel::platform::Widen;

HWND MainWindow() {
  return ::FindWindowW(nullptr, Widen(vantrel::kWindowCaption).c_str());
}

HWND WaitFor(HWND (*find)()) {
  for (int i = 0; i < 400; ++i) {
    if (HWND w = find()) return w;
    ::Sleep(50);
  }
  return nullptr;
}

std::string TextOf(HWND w) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(w, text, 1024);
  return Narrow(text);
}

int Client(HWND main) {
  RECT client{};
  ::GetClientRect(main, &client);
  std::printf("%ld %ld\n", client.right, client.bottom);
  return 0;
}

HWND MessageBoxWindow() {
  return ::FindWindowW(L"#32770", L"vtl");
}

int Box(bool press) {
  HWND box = WaitFor(MessageBoxWindow);
  if (box == nullptr) return 1;
  // The text of a message box is its static control 0xFFFF.
  std::printf("%s\n", TextOf(::GetDlgItem(box, 0xFFFF)).c_str());
  std::fflush(stdout);
  if (press) ::SendMessageW(box, WM_COMMAND, IDOK, 0);
  return 0;
}

int Count() {
  int n = 0;
  ::EnumWindows(
      [](HWND w, LPARAM count) -> BOOL {
        if (TextOf(w) == vantrel::kWindowCaption && ::IsWindowVisible(w)) {
          ++*reinterpret_cast<int*>(count);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  std::printf("%d\n", n);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 64;
  const std::string command = argv[1];
  if (command == "box" || command == "press") return Box(command == "press");
  if (command == "count") return Count();
  HWND main = WaitFor(MainWindow);
  if (main == nullptr) return 1;
  if (command == "wait") return 0;
  if (command == "client") return Client(main);
  if (command == "close") return ::PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
  return 64;
}
