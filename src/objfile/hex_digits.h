#pragma once

#include <cstdint>
#include <string_view>

namespace vantrel {

// 0..15 for a hexadecimal digit of either case, 0xFF for any other character.
std::uint8_t HexDigitValue(char c);

// Reads n (1 to 4) bytes as 2n hex characters, most significant first, into value. Returns the
// 8-bit sum of the bytes, or -1 (value untouched) when n is out of range or a character is not a
// hex digit; characters past the end of the text are not hex digits.
int ParseHexBytes(std::string_view text, int n, std::uint32_t& value);

// Hex digits from the start of the text up to the first other character, at most ten of them;
// the upper digits of a longer number fall off. No prefix is recognised: "0x10" reads as 0.
std::uint32_t ParseHexNumber(std::string_view text);

}  // namespace vantrel
