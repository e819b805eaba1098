#include "cli/board/console_host.h"

namespace vantrel::cli {

void ConsoleHost::ShowProgress() {
  if (controls_ != nullptr && !ended_) {
    out_.Progress(board_, controls_->TrackBar1.position, controls_->Panel5.caption);
  }
}

void ConsoleHost::Show(std::string_view text, FailureKind kind) {
  // The phase the job reached comes before its message, also when both fell in one tick. A box
  // during a job is its end (the first fault ends it; success says so last): a status set after
  // it, such as the bit-rate adjustment after a port that did not open, is no phase it ran.
  ShowProgress();
  if (controls_ != nullptr) ended_ = true;
  lastMessage_ = text;
  if (kind == FailureKind::PortNotOpened) portFailed_ = true;
  out_.Line(board_, text);
  if (!hint_) return;
  const std::string hint = hint_(kind);
  if (!hint.empty()) out_.Line(board_, hint);
}

}  // namespace vantrel::cli
