#include "cli/console_host.h"

namespace vantrel::cli {

void ConsoleHost::ShowFailureBox(std::string_view text, FailureKind kind) {
  lastMessage_ = text;
  if (kind == FailureKind::PortNotOpened) portFailed_ = true;
  out_.Line(board_, text);
  if (!hint_) return;
  const std::string hint = hint_(kind);
  if (!hint.empty()) out_.Line(board_, hint);
}

}  // namespace vantrel::cli
