#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vantrel {

// Reads the fields of an answer's data, most significant byte first, and never past its end:
// every read reports whether the data held it.
class AnswerReader {
 public:
  explicit AnswerReader(std::span<const std::uint8_t> data) : data_(data) {}

  bool Byte(std::uint8_t& value) {
    if (remaining() < 1) return false;
    value = data_[pos_++];
    return true;
  }
  bool U16(std::uint16_t& value) {
    if (remaining() < 2) return false;
    value = static_cast<std::uint16_t>(data_[pos_] << 8 | data_[pos_ + 1]);
    pos_ += 2;
    return true;
  }
  bool U32(std::uint32_t& value) {
    if (remaining() < 4) return false;
    value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | data_[pos_++];
    return true;
  }
  bool Take(std::size_t count, std::span<const std::uint8_t>& bytes) {
    if (remaining() < count) return false;
    bytes = data_.subspan(pos_, count);
    pos_ += count;
    return true;
  }
  std::size_t remaining() const { return data_.size() - pos_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace vantrel
