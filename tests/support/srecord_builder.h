#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/format.h"

namespace vantrel::testing {

// A well-formed S-record line (no line end) with the usual one's-complement checksum, or the
// two's-complement one when asked.
inline std::string MakeRecord(char type, std::uint32_t address,
                              const std::vector<std::uint8_t>& data, bool twosComplement = false) {
  int addressBytes = 2;
  if (type == '2' || type == '8') addressBytes = 3;
  if (type == '3' || type == '7') addressBytes = 4;
  const unsigned count = static_cast<unsigned>(addressBytes + data.size() + 1);
  unsigned sum = count;
  std::string line = std::string("S") + type + Format("%02X", count);
  for (int i = addressBytes - 1; i >= 0; --i) {
    const unsigned byte = (address >> (8 * i)) & 0xFF;
    sum += byte;
    line += Format("%02X", byte);
  }
  for (auto b : data) {
    sum += b;
    line += Format("%02X", static_cast<unsigned>(b));
  }
  const unsigned checksum = twosComplement ? (0x100 - (sum & 0xFF)) & 0xFF : 0xFF - (sum & 0xFF);
  line += Format("%02X", checksum);
  return line;
}

}  // namespace vantrel::testing
