#pragma once

#include <cstdint>

namespace vantrel {

// Bytes of the write-control program's own protocol.
inline constexpr std::uint8_t kClassicOk = 0xAA;  // handshake answered, erase done, block written
// Tells the write-control program that the job is over, whichever step ends it.
inline constexpr std::uint8_t kEndOfJob = 0xFF;

}  // namespace vantrel
