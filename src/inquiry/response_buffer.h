#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantrel {

inline constexpr std::size_t kResponseBufferSize = 1024;

// Every response frame lands here: code, size byte(s), data, and a zero where the checksum was.
using ResponseBuffer = std::array<std::uint8_t, kResponseBufferSize>;

}  // namespace vantrel
