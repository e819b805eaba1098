#pragma once

#include <string>
#include <string_view>

namespace vantrel::cli {

// An address a person wrote in hexadecimal the way an assembler or a data sheet does (7FF0,
// 8000h, $8000), spelt as an option reads it: "0x7FF0". Empty when the text is not one.
std::string HexAddressSpelling(std::string_view text);

}  // namespace vantrel::cli
