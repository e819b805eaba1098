#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/window_host.h"

namespace vantrel::testing {

// Records what the window would have shown. Events keep their order: "beep" or "box:<text>".
class RecordingHost final : public WindowHost {
 public:
  void Beep() override { events.emplace_back("beep"); }
  void ShowMessageBox(std::string_view text) override {
    events.emplace_back("box:" + std::string(text));
    boxes.emplace_back(text);
  }
  bool ShiftHeld() override { return shift; }
  [[noreturn]] void ExitProcess(int code) override { throw ExitRequested{code}; }
  ScreenRect Screen() override { return screen; }
  std::optional<std::string> ChooseFile(const FileDialogRequest& request) override {
    dialogs.push_back(request);
    return chosenFile;
  }
  void MoveFocus(FocusTarget) override { events.emplace_back("focus"); }

  int BeepCount() const {
    int n = 0;
    for (const auto& e : events) n += e == "beep";
    return n;
  }
  void Clear() {
    events.clear();
    boxes.clear();
  }

  struct ExitRequested {
    int code;
  };

  std::vector<std::string> events;
  std::vector<std::string> boxes;
  bool shift = false;
  ScreenRect screen{0, 0, 1024, 768};
  std::optional<std::string> chosenFile;
  std::vector<FileDialogRequest> dialogs;
};

}  // namespace vantrel::testing
