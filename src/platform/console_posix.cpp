#include <unistd.h>

#include "platform/console.h"

namespace vantrel::platform {

bool PrepareConsole() {
  return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace vantrel::platform
