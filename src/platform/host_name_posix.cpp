#include <unistd.h>

#include <array>

#include "platform/host_name.h"

namespace vantrel::platform {

std::string HostName() {
  std::array<char, 256> name{};
  // A name that fills the buffer may come without its terminating zero.
  if (::gethostname(name.data(), name.size() - 1) != 0) return {};
  return std::string(name.data());
}

}  // namespace vantrel::platform
