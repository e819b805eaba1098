#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/win32/main_window.h"
#include "app/win32/win32_host.h"
#include "platform/clock.h"
#include "platform/command_line.h"
#include "platform/executable_path.h"
#include "platform/utf16_win32.h"

namespace {

constexpr char kMutexName[] = "vtl_app";
// How long a later copy waits for a first copy that is still starting to show its window.
constexpr DWORD kWindowWaitMs = 10000;

// The command line in the ANSI code page, as the running window expects it.
std::string ToAnsi(const std::string& utf8) {
  const std::wstring wide = vantrel::platform::Widen(utf8);
  const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n,
                        nullptr, nullptr);
  return ansi;
}

// A later copy hands its command line to the first one's window and ends.
int ForwardToFirstCopy(const std::string& commandText) {
  if (commandText.empty()) {
    vantrel::win32::Win32Host host;
    host.Beep();
    host.ShowMessageBox("\u3000VTL は２重起動禁止です！\u3000");
    return 0;
  }
  const std::wstring caption = vantrel::platform::Widen(vantrel::kWindowCaption);
  HWND window = nullptr;
  for (DWORD waited = 0;
       (window = ::FindWindowW(nullptr, caption.c_str())) == nullptr && waited < kWindowWaitMs;
       waited += 50) {
    ::Sleep(50);
  }
  if (window == nullptr) {
    std::fprintf(stderr, "vantrel: the running copy did not take the command line \"%s\"\n",
                 commandText.c_str());
    return 1;
  }
  std::string bytes = ToAnsi(commandText);
  COPYDATASTRUCT data{};
  data.dwData = 1;
  data.cbData = static_cast<DWORD>(bytes.size());
  data.lpData = bytes.data();
  // Returns once the first copy has handled it, a message box it showed included.
  ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> arguments =
      vantrel::platform::CommandLineArguments(__argc, __argv);
  // Open, then create and check: of two copies started at the same instant only one is first.
  // The first copy's own handle stays open for as long as it runs.
  HANDLE other = ::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName);
  if (other == nullptr) {
    HANDLE own = ::CreateMutexA(nullptr, TRUE, kMutexName);
    if (own != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS) other = own;
  }
  if (other != nullptr) {
    const int code = ForwardToFirstCopy(vantrel::JoinCommandText(arguments));
    ::CloseHandle(other);
    return code;
  }
  try {
    vantrel::win32::Win32Host host;
    vantrel::platform::MonotonicClock clock;
    vantrel::TForm1 form(host, clock);
    vantrel::win32::MainWindow window(form);
    host.AttachWindow(&window);
    form.Initialise(vantrel::platform::ExecutablePath(), arguments);
    window.Show();
    return window.Run();
  } catch (const std::exception& e) {
    ::MessageBoxW(nullptr, vantrel::platform::Widen(e.what()).c_str(), L"vtl",
                  MB_OK | MB_ICONERROR);
  }
  return 0;
}
