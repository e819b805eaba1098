#include "app/win32/win32_host.h"

#include <commdlg.h>

#include <cstdio>

#include "app/win32/main_window.h"
#include "platform/utf16_win32.h"

namespace vantrel::win32 {

std::wstring DialogFilter(std::string_view filter) {
  std::wstring result = platform::Widen(filter);
  for (auto& c : result) {
    if (c == L'|') c = L'\0';
  }
  result.push_back(L'\0');
  result.push_back(L'\0');
  return result;
}

void Win32Host::Beep() {
  ::MessageBeep(MB_OK);
}

void Win32Host::ShowMessageBox(std::string_view text) {
  // The box must show the window as it is at this moment, also in the middle of a tick.
  HWND owner = nullptr;
  if (window_) {
    window_->SyncFromModels();
    owner = window_->handle();
  }
  std::fprintf(stderr, "vantrel: %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(stderr);
  ::MessageBoxW(owner, platform::Widen(text).c_str(), L"vtl", MB_OK);
}

bool Win32Host::ShiftHeld() {
  return (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}

void Win32Host::ExitProcess(int code) {
  std::fflush(nullptr);
  ::ExitProcess(static_cast<UINT>(code));
}

ScreenRect Win32Host::Screen() {
  HMONITOR monitor = window_ ? ::MonitorFromWindow(window_->handle(), MONITOR_DEFAULTTONEAREST)
                             : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) return {};
  const RECT& r = info.rcMonitor;
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int Win32Host::TextWidth(std::string_view text) {
  if (!window_) return static_cast<int>(text.size());
  return window_->Edit1TextWidth(platform::Widen(text));
}

std::optional<std::string> Win32Host::ChooseFile(const FileDialogRequest& request) {
  if (window_) window_->SyncFromModels();
  const std::wstring title = platform::Widen(request.title);
  const std::wstring filter = DialogFilter(request.filter);
  const std::wstring folder = platform::Widen(request.initialFolder);
  wchar_t file[MAX_PATH + 1] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_ ? window_->handle() : nullptr;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  return platform::Narrow(file);
}

void Win32Host::MoveFocus(FocusTarget target) {
  if (window_) window_->MoveFocus(target);
}

}  // namespace vantrel::win32
