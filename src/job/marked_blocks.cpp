#include "job/marked_blocks.h"

#include <algorithm>

namespace vantrel {

namespace {

// Flags past this count would name blocks that reach beyond the memory image.
std::size_t UsableBlockCount(std::uint16_t blockSize) {
  // No block size marks no block; every flag is looked at and none is set.
  if (blockSize == 0) return kBlockCount;
  return std::min(kBlockCount, kImageSize / blockSize);
}

}  // namespace

std::size_t FindMarkedBlock(const BlockMap& map, std::size_t from, std::uint16_t blockSize) {
  const std::size_t end = UsableBlockCount(blockSize);
  for (std::size_t n = from; n < end; ++n) {
    if (map.flags[n] != 0) return n;
  }
  return kBlockCount;
}

std::uint32_t CountMarkedBlocks(const BlockMap& map, std::uint16_t blockSize) {
  const std::size_t end = UsableBlockCount(blockSize);
  return static_cast<std::uint32_t>(
      std::count_if(map.flags.begin(), map.flags.begin() + static_cast<std::ptrdiff_t>(end),
                    [](std::uint8_t f) { return f != 0; }));
}

std::span<const std::uint8_t> BlockBytes(const MemoryImage& image, std::size_t n,
                                         std::uint16_t blockSize) {
  return std::span<const std::uint8_t>(image.bytes).subspan(n * blockSize, blockSize);
}

}  // namespace vantrel
