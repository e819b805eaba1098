#include "job/block_read_back.h"

#include <algorithm>

#include "core/step.h"
#include "serial/comm_ctrl.h"

namespace vantrel {

BlockReadBack::Next BlockReadBack::FindNext(const BlockMap& map, std::uint16_t blockSize) {
  const std::size_t n = FindMarkedBlock(map, nextFlag_, blockSize);
  if (n >= kBlockCount) return Next::None;
  if (!UsableBlockSize(blockSize)) return Next::Unusable;
  block_ = n;
  blockSize_ = blockSize;
  position_ = 0;
  return Next::Found;
}

bool BlockReadBack::ReadData(CommCtrl& port, std::uint8_t* sum) {
  for (int i = 0; i < kDataReadsPerCall && position_ < blockSize_; ++i) {
    const int b = port.GetByte();
    if (b < 0) continue;
    data_[position_++] = static_cast<std::uint8_t>(b);
    if (sum) *sum = static_cast<std::uint8_t>(*sum + b);
  }
  return position_ >= blockSize_;
}

bool BlockReadBack::MatchesImage(const MemoryImage& image) const {
  const auto expected = BlockBytes(image, block_, blockSize_);
  return std::equal(expected.begin(), expected.end(), data_.begin());
}

std::uint32_t BlockReadBack::FirstDifference(const MemoryImage& image,
                                             std::uint32_t romBase) const {
  const auto expected = BlockBytes(image, block_, blockSize_);
  const auto differs = std::mismatch(expected.begin(), expected.end(), data_.begin()).first;
  return Address(romBase) + static_cast<std::uint32_t>(differs - expected.begin());
}

}  // namespace vantrel
