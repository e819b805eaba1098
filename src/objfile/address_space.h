#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantrel {

// The last address of the 32-bit address space; a byte past it lies in no ROM window and must
// not wrap around to address 0, where the reset vectors are.
inline constexpr std::uint64_t kTopAddress = 0xFFFFFFFF;

// How many of `count` bytes from `first` on lie at or below the top address.
constexpr std::size_t BytesBelowTop(std::uint64_t first, std::size_t count) {
  if (first > kTopAddress) return 0;
  return static_cast<std::size_t>(std::min<std::uint64_t>(count, kTopAddress - first + 1));
}

// Said of a record or file whose data runs past the top address.
inline constexpr std::string_view kPastTopWords =
    "its data runs past address 0xFFFFFFFF, the top of the address space, and would wrap around "
    "to address 0";

}  // namespace vantrel
