#include "app/win32/win32_host.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <commdlg.h>

#include "app/win32/main_window.h"
#include "platform/utf16_win32.h"

namespace vantrel::win32 {

std::wstring DialogFilter(const std::vector<DialogFilterEntry>& filter) {
  std::wstring result;
  for (const auto& entry : filter) {
    result += platform::Widen(entry.description) + L'\0';
    for (std::size_t i = 0; i < entry.patterns.size(); ++i) {
      result += (i == 0 ? L"" : L";") + platform::Widen(entry.patterns[i]);
    }
    result += L'\0';
  }
  return result + L'\0';
}

namespace {

HWND Owner(DesktopWindow* window) {
  const auto* main = dynamic_cast<const MainWindow*>(window);
  return main ? main->handle() : nullptr;
}

void ShowBox(DesktopWindow* window, std::string_view text) {
  ::MessageBoxW(Owner(window), platform::Widen(text).c_str(), L"vtl", MB_OK);
}

std::optional<std::string> RunFileDialog(DesktopWindow* window, const FileDialogRequest& request,
                                         const std::vector<DialogFilterEntry>& filter) {
  const std::wstring title = platform::Widen(request.title);
  const std::wstring filters = DialogFilter(filter);
  const std::wstring folder = platform::Widen(request.initialFolder);
  // Room for any path: the program cuts the name as the original's buffer did.
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Owner(window);
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  return platform::Narrow(file.c_str());
}

}  // namespace

const DesktopToolkit kToolkit = {
    [] { ::MessageBeep(MB_OK); },
    [] { return (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; },
    ShowBox,
    RunFileDialog,
};

}  // namespace vantrel::win32
