#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "objfile/program_image.h"

namespace vantrel {

// The largest block the job can read back; block writing keeps to the same bound so that a block
// it writes can always be verified.
inline constexpr std::size_t kMaxBlockSize = 256;

inline bool UsableBlockSize(std::uint16_t blockSize) {
  return blockSize != 0 && blockSize <= kMaxBlockSize;
}

// The first marked block at or after `from`, or kBlockCount when there is none.
std::size_t FindMarkedBlock(const BlockMap& map, std::size_t from, std::uint16_t blockSize);

std::uint32_t CountMarkedBlocks(const BlockMap& map, std::uint16_t blockSize);

// The image bytes of block n; callers have found n with FindMarkedBlock.
std::span<const std::uint8_t> BlockBytes(const MemoryImage& image, std::size_t n,
                                         std::uint16_t blockSize);

}  // namespace vantrel
