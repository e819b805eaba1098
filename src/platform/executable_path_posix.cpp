#include <unistd.h>

#include <array>

#include "platform/executable_path.h"

namespace vantrel::platform {

std::string ExecutablePath() {
  std::array<char, 4096> buffer{};
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

}  // namespace vantrel::platform
