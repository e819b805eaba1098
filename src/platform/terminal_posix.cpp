#include <unistd.h>

#include "platform/terminal.h"

namespace vantrel::platform {

bool IsTerminal(std::FILE* stream) {
  return ::isatty(::fileno(stream)) == 1;
}

}  // namespace vantrel::platform
