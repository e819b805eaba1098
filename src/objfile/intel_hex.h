#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// The characters of the longest Intel HEX record, one of 255 data bytes.
inline constexpr std::size_t kHexLineLimit = 1 + 2 * (1 + 2 + 1 + 255 + 1);

enum class HexFault {
  None,
  NoColon,
  NotHexDigit,
  Length,  // the line's characters do not match its byte count
  Checksum,
  UnknownType,
  TypeLength,  // an address or end record of the wrong size
  AfterEnd,
  NoEnd,
  PastTop,  // linear data past address 0xFFFFFFFF
};

// One Intel HEX record. When fault is set, only the fields read before the fault hold anything.
struct HexRecord {
  HexFault fault = HexFault::None;
  std::size_t column = 0;  // the character that is not a hex digit, from 1
  std::uint8_t count = 0;
  std::uint16_t offset = 0;
  std::uint8_t type = 0;
  std::uint8_t checksum = 0;
  std::uint8_t expected = 0;  // the checksum that would add up
  std::array<std::uint8_t, 255> data{};
};

// Parses one line without its line end.
HexRecord ParseHexRecord(std::string_view line);

// The records of one file in their order: the extended addresses, the end record and what may
// follow it. Blank lines are skipped.
class HexFileReader {
 public:
  const HexRecord& Take(std::string_view line);
  // The fault of a file that ends here.
  HexFault Finish() const { return ended_ ? HexFault::None : HexFault::NoEnd; }
  // The last line taken was a data record; Address(i) is where its byte i goes.
  bool HasData() const { return data_; }
  std::uint64_t Address(std::size_t i) const;

 private:
  HexRecord record_;
  std::uint32_t base_ = 0;
  bool segmented_ = false;
  bool ended_ = false;
  bool data_ = false;
};

// What is wrong with the record, in words.
std::string HexFaultText(const HexRecord& record);

}  // namespace vantrel
