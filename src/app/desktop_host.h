#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialog_filter.h"
#include "app/window_host.h"

namespace vantrel {

// What a desktop window gives the host of its toolkit.
class DesktopWindow {
 public:
  virtual ~DesktopWindow() = default;
  // Copies the models into the controls, before a box or dialog blocks the window.
  virtual void SyncFromModels() = 0;
  virtual int Edit1TextWidth(std::string_view text) const = 0;
  // The screen the window is on.
  virtual ScreenRect Screen() const = 0;
  virtual void MoveFocus(FocusTarget target) = 0;
};

// What a window toolkit does for the host: one table of plain functions in each front.
struct DesktopToolkit {
  void (*beep)();
  bool (*shiftHeld)();
  // The modal box captioned "vtl" with one OK button, over the window if there is one.
  void (*showBox)(DesktopWindow* window, std::string_view text);
  std::optional<std::string> (*runFileDialog)(DesktopWindow* window,
                                              const FileDialogRequest& request,
                                              const std::vector<DialogFilterEntry>& filter);
};

// The window host of both desktop windows: every box's text also goes to stderr for whoever
// runs the window from a script, and the window shows its state before a box or dialog blocks
// it.
class DesktopHost final : public WindowHost {
 public:
  explicit DesktopHost(const DesktopToolkit& toolkit) : toolkit_(toolkit) {}

  void AttachWindow(DesktopWindow* window) { window_ = window; }

  void Beep() override { toolkit_.beep(); }
  bool ShiftHeld() override { return toolkit_.shiftHeld(); }
  void ShowMessageBox(std::string_view text) override;
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
  [[noreturn]] void ExitProcess(int code) override;
  ScreenRect Screen() override;
  int TextWidth(std::string_view text) override;
  void MoveFocus(FocusTarget target) override;

 private:
  const DesktopToolkit& toolkit_;
  DesktopWindow* window_ = nullptr;
};

}  // namespace vantrel
