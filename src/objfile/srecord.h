#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantrel {

enum class RecordKind { Header, Data, End };

// One parsed S-record line. When error is set the fields hold what was read before the fault:
// for "01".."04" nothing usable; for "06" the data bytes before the bad one; for "08" and "09"
// all data bytes.
struct SRecord {
  std::string_view error;  // empty, or the two-character code "01".."09"
  RecordKind kind = RecordKind::Header;
  char type = 0;
  std::uint8_t count = 0;
  std::uint32_t address = 0;
  std::array<std::uint8_t, 255> data{};
  std::size_t dataLength = 0;
  // A data record whose sum came to 0x00 (a two's-complement checksum) rather than 0xFF.
  bool twosComplement = false;

  bool ok() const { return error.empty(); }
  // The fault lies in the count, type or address, so the record's kind and address are unknown.
  bool failedBeforeData() const { return !ok() && error < "05"; }
};

// Parses one line without its line end. Header and end records are parsed up to their address;
// data records through their checksum, which must make the 8-bit sum of count, address, data and
// checksum 0xFF or 0x00. Characters after the checksum are ignored.
SRecord ParseSRecord(std::string_view line);

}  // namespace vantrel
