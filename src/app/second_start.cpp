#include "app/second_start.h"

#include <cstdio>

namespace vantrel {

int SecondStart(WindowHost& host, std::string_view commandText,
                const std::function<bool(std::string_view)>& handOver) {
  if (commandText.empty()) {
    host.Beep();
    host.ShowMessageBox("\u3000VTL は２重起動禁止です！\u3000");
    return 0;
  }
  if (handOver(commandText)) return 0;
  std::fprintf(stderr, "vantrel: the running copy did not take the command line \"%.*s\"\n",
               static_cast<int>(commandText.size()), commandText.data());
  return 1;
}

}  // namespace vantrel
