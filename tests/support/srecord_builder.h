#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vantrel::testing {

inline std::string HexByte(unsigned byte) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", byte & 0xFF);
  return text;
}

// A well-formed S-record line (no line end) with the usual one's-complement checksum, or the
// two's-complement one when asked.
inline std::string MakeRecord(char type, std::uint32_t address,
                              const std::vector<std::uint8_t>& data, bool twosComplement = false) {
  int addressBytes = 2;
  if (type == '2' || type == '8') addressBytes = 3;
  if (type == '3' || type == '7') addressBytes = 4;
  const unsigned count = static_cast<unsigned>(addressBytes + data.size() + 1);
  unsigned sum = count;
  std::string line = std::string("S") + type + HexByte(count);
  for (int i = addressBytes - 1; i >= 0; --i) {
    const unsigned byte = (address >> (8 * i)) & 0xFF;
    sum += byte;
    line += HexByte(byte);
  }
  for (auto b : data) {
    sum += b;
    line += HexByte(b);
  }
  const unsigned checksum = twosComplement ? (0x100 - (sum & 0xFF)) & 0xFF : 0xFF - (sum & 0xFF);
  line += HexByte(checksum);
  return line;
}

}  // namespace vantrel::testing
