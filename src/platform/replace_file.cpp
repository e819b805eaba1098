#include "platform/replace_file.h"

#include <string_view>

namespace vantrel::platform {
namespace {

// mkstemp's letters, so that the temporaries of earlier versions are known too.
constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLetters = 6;

}  // namespace

std::string TemporaryName(const std::string& path, std::uint64_t random) {
  std::string name = path + ".";
  for (std::size_t i = 0; i < kRandomLetters; ++i, random /= kLetters.size()) {
    name += kLetters[random % kLetters.size()];
  }
  return name;
}

bool IsTemporaryOf(std::string_view name, std::string_view base) {
  if (name.size() != base.size() + 1 + kRandomLetters || !name.starts_with(base) ||
      name[base.size()] != '.') {
    return false;
  }
  return name.substr(base.size() + 1).find_first_not_of(kLetters) == std::string_view::npos;
}

}  // namespace vantrel::platform
