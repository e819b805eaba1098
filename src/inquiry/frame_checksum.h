#pragma once

#include <cstdint>
#include <span>

namespace vantrel {

// The sum of the bytes modulo 256, carried on from `sum`.
inline std::uint8_t ByteSum(std::span<const std::uint8_t> bytes, std::uint8_t sum = 0) {
  for (auto b : bytes) sum = static_cast<std::uint8_t>(sum + b);
  return sum;
}

// The byte that brings a frame whose other bytes sum to `sum` to 0 modulo 256.
inline std::uint8_t ClosingChecksum(std::uint8_t sum) {
  return static_cast<std::uint8_t>(0x100 - sum);
}

inline std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes) {
  return ClosingChecksum(ByteSum(bytes));
}

}  // namespace vantrel
