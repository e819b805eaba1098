#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "cli/board/console_output.h"
#include "cli/board/failure_hint.h"
#include "app/window_controls.h"
#include "app/window_host.h"

namespace vantrel::cli {

// One board's window services on the terminal: its message boxes become lines on the shared
// console, each followed by a hint a person can act on where there is one.
class ConsoleHost final : public WindowHost {
 public:
  // Gives the hint line for a failure of a kind, or an empty text.
  using Hint = std::function<std::string(FailureKind)>;

  ConsoleHost(ConsoleOutput& out, std::size_t board) : out_(out), board_(board) {}

  void Beep() override { out_.Beep(); }
  void ShowMessageBox(std::string_view text) override { Show(text, FailureKind::Other); }
  void ShowFailureBox(const JobFailureEvent& failure) override { Show(failure.text, KindOf(failure)); }
  bool ShiftHeld() override { return shiftHeld_; }

  void SetShiftHeld(bool held) { shiftHeld_ = held; }
  void SetHint(Hint hint) { hint_ = std::move(hint); }
  // From now on the job's track bar and status line are the board's progress.
  void Follow(const WindowControls& controls) {
    controls_ = &controls;
    ended_ = false;
  }
  // The progress the followed controls show, unless the job has shown its last phase.
  void ShowProgress();
  // Lines of the board's own (the summary's "aborted"), in its place on the console.
  void Say(std::string_view text) { out_.Line(board_, text); }
  // The text of the last message box: the job's outcome in words.
  const std::string& lastMessage() const { return lastMessage_; }
  // A port of the job did not open.
  bool portFailed() const { return portFailed_; }

 private:
  void Show(std::string_view text, FailureKind kind);
  ConsoleOutput& out_;
  std::size_t board_;
  bool shiftHeld_ = false;
  Hint hint_;
  std::string lastMessage_;
  bool portFailed_ = false;
  const WindowControls* controls_ = nullptr;
  bool ended_ = false;
};

}  // namespace vantrel::cli
