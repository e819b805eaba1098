#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "inquiry/boot_definition.h"

namespace vantrel {

inline constexpr std::uint8_t kNewBitRateCommand = 0x3F;
inline constexpr int kMaxMulRatios = 4;

// The send buffer of a framed command; the longest, 0x3F with four ratios, holds 9 bytes.
using CommandData = std::array<std::uint8_t, 9>;

// The data of the new bit rate command: BaudP / 100, ClockFreq (low 16 bits each, most
// significant byte first), the ratio count and that many ratios. The count is held to 0..4 so
// the frame always carries as many ratios as it announces. Returns the data bytes used.
std::span<const std::uint8_t> BuildNewBitRateData(const BootDefinition& def, CommandData& out);

}  // namespace vantrel
