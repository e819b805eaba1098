#pragma once

#include <cstdint>
#include <memory>

#include "objfile/program_image.h"

namespace vantrel::testing {

// A freshly loaded image: all 0xFF, no block marked.
inline std::unique_ptr<ProgramImage> MakeImage() {
  auto image = std::make_unique<ProgramImage>();
  image->memory.bytes.fill(0xFF);
  image->blocks.flags.fill(0);
  image->control.length = 0;
  return image;
}

// Marks block n and fills it with a pattern that differs from block to block.
inline void MarkBlock(ProgramImage& image, std::size_t n, std::uint16_t blockSize) {
  image.blocks.flags[n] = 1;
  for (std::size_t i = 0; i < blockSize; ++i)
    image.memory.bytes[n * blockSize + i] = static_cast<std::uint8_t>(n * 31 + i);
}

}  // namespace vantrel::testing
