#include "platform/text_encoding.h"

#include <algorithm>
#include <cstdint>

namespace vantrel::platform {

std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<std::uint8_t>(text[0]);
  if (lead < 0x80) return 1;
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
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<std::uint8_t>(text[k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3Fu);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

bool IsValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t n = Utf8SequenceLength(bytes);
    if (n == 0) return false;
    bytes.remove_prefix(n);
  }
  return true;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t at) {
  return std::max<std::size_t>(1, Utf8SequenceLength(text.substr(at)));
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
