#include "objfile/hex_digits.h"

namespace vantrel {

std::uint8_t HexDigitValue(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 0x61) u = static_cast<unsigned char>(u - 0x20);
  if (u >= '0' && u <= '9') return static_cast<std::uint8_t>(u - '0');
  if (u >= 'A' && u <= 'F') return static_cast<std::uint8_t>(u - 'A' + 10);
  return 0xFF;
}

int ParseHexBytes(std::string_view text, int n, std::uint32_t& value) {
  if (n < 1 || n > 4) return -1;
  if (text.size() < static_cast<std::size_t>(2 * n)) return -1;
  std::uint32_t result = 0;
  unsigned sum = 0;
  for (int i = 0; i < n; ++i) {
    const std::uint8_t hi = HexDigitValue(text[2 * i]);
    const std::uint8_t lo = HexDigitValue(text[2 * i + 1]);
    if (hi == 0xFF || lo == 0xFF) return -1;
    const unsigned byte = (hi << 4) | lo;
    result = (result << 8) | byte;
    sum += byte;
  }
  value = result;
  return static_cast<int>(sum & 0xFF);
}

std::uint32_t ParseHexNumber(std::string_view text) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < text.size() && i < 10; ++i) {
    const std::uint8_t digit = HexDigitValue(text[i]);
    if (digit == 0xFF) break;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace vantrel
