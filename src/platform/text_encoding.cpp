#include "platform/text_encoding.h"

#include <algorithm>
#include <cstdint>

namespace vantrel::platform {

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    std::uint32_t min;
    std::uint32_t cp;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, min = 0x80, cp = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, min = 0x800, cp = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, min = 0x10000, cp = lead & 0x07u;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto c = static_cast<std::uint8_t>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
  std::size_t n = 1;
  while (at + n < text.size() && (static_cast<std::uint8_t>(text[at + n]) & 0xC0) == 0x80) ++n;
  return n;
}

std::string TextFromForeignFile(std::string_view bytes) {
  // Line by line: a write keeps the bytes of the lines it does not touch, and must not change how
  // they read by changing what the rest of the file looks like.
  std::string text;
  while (!bytes.empty()) {
    const auto end = std::min(bytes.find('\n'), bytes.size() - 1) + 1;
    const auto line = bytes.substr(0, end);
    bytes.remove_prefix(end);
    if (IsValidUtf8(line)) {
      text += line;
    } else {
      text += DecodeCodePage(line, LegacyCodePage()).value_or(std::string(line));
    }
  }
  return text;
}

}  // namespace vantrel::platform
