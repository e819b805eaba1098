#pragma once

#include <windows.h>

#include "core/window_host.h"

namespace vantrel::win32 {

class MainWindow;

// The desktop services of the window, done with the Windows API.
class Win32Host final : public WindowHost {
 public:
  void AttachWindow(MainWindow* window) { window_ = window; }

  void Beep() override;
  void ShowMessageBox(std::string_view text) override;
  bool ShiftHeld() override;
  [[noreturn]] void ExitProcess(int code) override;
  ScreenRect Screen() override;
  int TextWidth(std::string_view text) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  void MoveFocus(FocusTarget target) override;

 private:
  MainWindow* window_ = nullptr;
};

// "description|patterns|..." as the dialog's filter: pairs of NUL-terminated texts, then a NUL.
std::wstring DialogFilter(std::string_view filter);

}  // namespace vantrel::win32
