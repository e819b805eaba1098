#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/job_events.h"

namespace vantrel {

// The controls a front can move the focus to.
enum class FocusTarget { Button5 };

struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct FileDialogRequest {
  std::string title;
  // "description|patterns|description|patterns...", the first entry preselected.
  std::string filter;
  std::string initialFolder;
};

// What only a desktop can do. The Qt window implements it with widgets, vantrel-cli with the
// terminal, the tests with a recorder. A host without a desktop keeps the defaults.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  // The system's default sound.
  virtual void Beep() = 0;
  // A modal box with one OK button captioned "vtl"; returns when the user has closed it.
  virtual void ShowMessageBox(std::string_view text) = 0;
  // The Shift key is held down at this moment.
  virtual bool ShiftHeld() = 0;
  // The box of a job's failure; a front with nothing to add shows the text alone.
  virtual void ShowFailureBox(const JobFailureEvent& failure) { ShowMessageBox(failure.text); }

  // Ends the process at once; the window's close handling does not run.
  [[noreturn]] virtual void ExitProcess(int code) { std::exit(code); }
  // The screen the window is on, in screen pixels.
  virtual ScreenRect Screen() { return {}; }
  // The pixel width of a text in Edit1's font; one pixel a byte without a desktop.
  virtual int TextWidth(std::string_view text) { return static_cast<int>(text.size()); }
  // The modal file-open dialog; nothing when the user cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialogRequest&) { return std::nullopt; }
  // Clears the window's active control and puts the focus on the target.
  virtual void MoveFocus(FocusTarget) {}
};

}  // namespace vantrel
