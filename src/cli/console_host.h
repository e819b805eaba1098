#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "core/window_host.h"

namespace vantrel::cli {

// The window's desktop services on a terminal: message boxes become lines on stderr.
class ConsoleHost final : public WindowHost {
 public:
  explicit ConsoleHost(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}

  void Beep() override;
  void ShowMessageBox(std::string_view text) override;
  bool ShiftHeld() override { return shiftHeld_; }
  [[noreturn]] void ExitProcess(int code) override;

  void SetShiftHeld(bool held) { shiftHeld_ = held; }
  // Draws the one-line progress display (terminal) or prints a line when the phase changes.
  void ShowProgress(int permille, std::string_view status);
  // Ends a progress line that is still on the screen.
  void FinishProgress();

 private:
  void ClearProgressLine();

  std::FILE* out_;
  bool terminal_;
  bool shiftHeld_ = false;
  bool progressShown_ = false;
  std::string lastPhase_;
  std::string lastLine_;
};

// The part of a status text that names the phase, without its changing address or count.
std::string PhaseOf(std::string_view status);

}  // namespace vantrel::cli
