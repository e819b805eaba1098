#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "job/block_progress.h"
#include "job/marked_blocks.h"
#include "objfile/program_image.h"

namespace vantrel {

class CommCtrl;

// What both verifications share: walking the marked blocks in order, reading one block's bytes
// back into a buffer that cannot overflow, and comparing them with the image.
class BlockReadBack {
 public:
  enum class Next { None, Unusable, Found };

  void Restart() { nextFlag_ = 0; }
  // Finds the next marked block to read. Unusable: its size would not fit the buffer.
  Next FindNext(const BlockMap& map, std::uint16_t blockSize);
  std::uint32_t Address(std::uint32_t romBase) const {
    return romBase + static_cast<std::uint32_t>(block_) * blockSize_;
  }
  std::uint16_t blockSize() const { return blockSize_; }
  // Bytes of the block under way not yet read.
  std::size_t Missing() const { return blockSize_ - position_; }

  // Up to 200 reads into the buffer, each byte also added to *sum when given. True once the
  // whole block is in.
  bool ReadData(CommCtrl& port, std::uint8_t* sum = nullptr);
  bool MatchesImage(const MemoryImage& image) const;
  // The target address of the first byte read back that differs from the image.
  std::uint32_t FirstDifference(const MemoryImage& image, std::uint32_t romBase) const;
  // The block compared equal: count it and move past it.
  void Accept(BlockProgress& progress) {
    nextFlag_ = block_ + 1;
    ++progress.BlocksDone;
  }

 private:
  std::size_t nextFlag_ = 0;
  std::size_t block_ = 0;
  std::uint16_t blockSize_ = 0;  // of the block under way, at most the buffer's size
  std::array<std::uint8_t, kMaxBlockSize> data_{};
  std::size_t position_ = 0;
};

}  // namespace vantrel
