#include "simulator/uart_rate.h"

namespace vantrel::simulator {
namespace {

// The sender's line level during its bit number `bit` of a frame: start bit low, data bits least
// significant first, then the stop bit and an idle line, both high.
bool LineLevel(std::uint8_t byte, std::uint64_t bit) {
  if (bit == 0) return false;
  if (bit <= 8) return (byte >> (bit - 1)) & 1u;
  return true;
}

}  // namespace

std::uint64_t CharTimeUs(std::uint32_t baud) {
  if (baud == 0) return 0;
  return (10'000'000ull + baud - 1) / baud;
}

bool SameRate(std::uint32_t a, std::uint32_t b) {
  if (a == 0 || b == 0) return false;
  const std::uint64_t hi = a > b ? a : b;
  const std::uint64_t lo = a > b ? b : a;
  return (hi - lo) * 50 <= hi;
}

std::optional<std::uint8_t> ReceiveAcrossRates(std::uint8_t byte, std::uint32_t senderBaud,
                                               std::uint32_t receiverBaud) {
  if (senderBaud == 0) return byte;
  if (receiverBaud == 0) return std::nullopt;
  if (SameRate(senderBaud, receiverBaud)) return byte;
  // The receiver samples the middle of each of its own bit times, counted from the falling edge
  // of the start bit; sample k falls into the sender's bit (2k + 1) * sender / (2 * receiver).
  auto sample = [&](std::uint64_t k) {
    const std::uint64_t bit = (2 * k + 1) * senderBaud / (2ull * receiverBaud);
    return LineLevel(byte, bit);
  };
  if (sample(0)) return std::nullopt;  // no start bit where the receiver expects one
  std::uint8_t value = 0;
  for (std::uint64_t k = 1; k <= 8; ++k) {
    if (sample(k)) value |= static_cast<std::uint8_t>(1u << (k - 1));
  }
  if (!sample(9)) return std::nullopt;  // framing error: the byte is dropped
  if (value == byte) return std::nullopt;
  return value;
}

}  // namespace vantrel::simulator
