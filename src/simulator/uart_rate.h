#pragma once

#include <cstdint>
#include <optional>

namespace vantrel::simulator {

// Microseconds one character (start bit, 8 data bits, stop bit) takes at the given rate; 0 for 0.
std::uint64_t CharTimeUs(std::uint32_t baud);

// Two UARTs whose rates differ by at most 2 % understand each other.
bool SameRate(std::uint32_t a, std::uint32_t b);

// What a UART listening at receiverBaud makes of one byte sent at senderBaud: the byte itself at
// the same rate, otherwise the value its samples of the sender's frame give, or nothing when the
// frame is refused (start or stop bit wrong). A mismatch never yields the byte that was sent.
// A sender rate of 0 marks line noise, which arrives as it is.
std::optional<std::uint8_t> ReceiveAcrossRates(std::uint8_t byte, std::uint32_t senderBaud,
                                               std::uint32_t receiverBaud);

}  // namespace vantrel::simulator
