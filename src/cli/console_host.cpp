#include "cli/console_host.h"

#include <cstdlib>

namespace vantrel::cli {

void ConsoleHost::ShowMessageBox(std::string_view text) {
  lastMessage_ = text;
  out_.Line(board_, text);
  if (!hint_) return;
  const std::string hint = hint_(text);
  if (!hint.empty()) out_.Line(board_, hint);
}

void ConsoleHost::ExitProcess(int code) {
  out_.Finish();
  std::exit(code);
}

}  // namespace vantrel::cli
