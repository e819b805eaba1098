#pragma once

#include <cstdint>
#include <span>

namespace vantrel {

class CommCtrl;

inline constexpr std::uint32_t kProgramEndAddress = 0xFFFFFFFF;

// The programming frame 0x50: four address bytes, most significant first, the data and a checksum
// that brings the frame's sum to 0. No size byte.
void SendProgramCommand(CommCtrl& port, std::uint32_t address, std::span<const std::uint8_t> data);

// 0x50 FF FF FF FF B4: programming is over.
void SendProgramEnd(CommCtrl& port);

}  // namespace vantrel
