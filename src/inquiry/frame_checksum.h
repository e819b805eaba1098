#pragma once

#include <cstdint>
#include <span>

namespace vantrel {

// The byte that makes all bytes of a frame add up to 0 modulo 256.
inline std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes) {
  std::uint8_t sum = 0;
  for (auto b : bytes) sum = static_cast<std::uint8_t>(sum + b);
  return static_cast<std::uint8_t>(0x100 - sum);
}

}  // namespace vantrel
