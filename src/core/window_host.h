#pragma once

#include <string_view>

namespace vantrel {

// What only a desktop can do. The Qt window implements it with widgets, vantrel-cli with the
// terminal, the tests with a recorder.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The system's default sound.
  virtual void Beep() = 0;
  // A modal box with one OK button captioned "vtl"; returns when the user has closed it.
  virtual void ShowMessageBox(std::string_view text) = 0;
  // The Shift key is held down at this moment.
  virtual bool ShiftHeld() = 0;
  // Ends the process at once; the window's close handling does not run.
  [[noreturn]] virtual void ExitProcess(int code) = 0;
};

}  // namespace vantrel
