#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantrel {

inline constexpr std::size_t kImageSize = 0x100000;  // 1 MiB from RomBaseAddr
// The highest RomBaseAddr whose image ends at or below address 0xFFFFFFFF.
inline constexpr auto kHighestRomBase = static_cast<std::uint32_t>(0x100000000 - kImageSize);
inline constexpr std::size_t kBlockCount = 8192;
inline constexpr std::size_t kControlProgramCapacity = 4096;

// The user program as the target will hold it, byte i at RomBaseAddr + i; 0xFF where no record
// supplied a byte.
struct MemoryImage {
  std::array<std::uint8_t, kImageSize> bytes;
};

// One flag per write block: the file supplied at least one byte inside it.
struct BlockMap {
  std::array<std::uint8_t, kBlockCount> flags;
};

// The write-control program of a classic CPU type.
struct ControlProgram {
  std::array<std::uint8_t, kControlProgramCapacity> bytes;
  std::uint32_t firstAddress = 0;
  std::uint32_t lastAddress = 0;
  std::uint32_t length = 0;
};

// The fixed-size buffers the window allocates once and every job reuses.
struct ProgramImage {
  MemoryImage memory;
  BlockMap blocks;
  ControlProgram control;
};

}  // namespace vantrel
