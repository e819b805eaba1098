#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "simulator/target_model.h"

namespace vantrel::testing {

using Bytes = std::vector<std::uint8_t>;

// Drives a TargetModel as a host on a line would: bytes out at a rate, answers read at a rate.
struct ModelHarness {
  explicit ModelHarness(simulator::TargetOptions options = {}) : model(std::move(options)) {}

  // Sends the bytes and returns whatever has come back by now.
  Bytes Send(const Bytes& bytes, std::uint32_t baud = 9600) {
    model.Receive(bytes, baud, now);
    return Take(baud);
  }
  Bytes Take(std::uint32_t baud = 9600) {
    std::array<std::uint8_t, 4096> buffer{};
    const std::size_t n = model.Transmit(buffer, baud, now);
    return Bytes(buffer.begin(), buffer.begin() + static_cast<long>(n));
  }
  void WaitMs(std::uint64_t ms) { now += ms * 1000; }
  // Three zeros and the handshake at the given rate; returns both answers.
  Bytes Sync(std::uint32_t baud = 9600) {
    Bytes got = Send({0x00, 0x00, 0x00}, baud);
    const Bytes handshake = Send({0x55}, baud);
    got.insert(got.end(), handshake.begin(), handshake.end());
    return got;
  }

  std::uint64_t now = 0;
  simulator::TargetModel model;
};

inline Bytes Block(std::uint32_t size, std::uint8_t seed) {
  Bytes b(size);
  for (std::uint32_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
  return b;
}

inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace vantrel::testing
