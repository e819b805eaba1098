#pragma once

#include <QStringList>

#include "core/window_host.h"

namespace vantrel::qt {

class MainWindow;

// The desktop services of the window, done with Qt.
class QtHost final : public WindowHost {
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

// "description|patterns|..." as Qt's name filters, "description (pattern pattern)".
QStringList NameFiltersOf(std::string_view filter);

}  // namespace vantrel::qt
