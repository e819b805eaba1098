#include <sys/stat.h>
#include <unistd.h>

#include <array>

#include "platform/final_path.h"

namespace vantrel::platform {

std::string FinalPath(const std::string& path) {
  std::string at = path;
  // The system's own bound on links in a row; a loop ends there and fails where it is used.
  for (int hop = 0; hop < 40; ++hop) {
    std::array<char, 4096> target{};
    const ssize_t n = ::readlink(at.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) break;
    const std::string named(target.data(), static_cast<std::size_t>(n));
    const auto slash = at.rfind('/');
    at = named.front() == '/' || slash == std::string::npos ? named
                                                            : at.substr(0, slash + 1) + named;
  }
  return at;
}

unsigned NameCount(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<unsigned>(st.st_nlink) : 0;
}

}  // namespace vantrel::platform
