#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace vantrel::platform {

inline bool IsSpaceOrTab(char c) {
  return c == ' ' || c == '\t';
}

// Blanks around a value in a text file: spaces, tabs, and the CR of a CR LF line end.
inline bool IsBlank(char c) {
  return IsSpaceOrTab(c) || c == '\r';
}

// White space as the C library's number readers skip it.
inline bool IsCSpace(char c) {
  return IsSpaceOrTab(c) || (c >= '\n' && c <= '\r');
}

inline std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// At most `limit` bytes, never ending inside a UTF-8 sequence.
inline std::string_view CutAtCharacter(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

inline char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

// ASCII letters compared without regard to case; every other byte as it is.
inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// The program reads numbers two ways. ReadLeadingDecimal takes the number a text starts with and
// ignores the rest, as the C library's atol does with what a person typed; ParseUnsigned takes a
// whole text that must be a number and nothing else, as options and data files give them.

// Decimal text read as a 32-bit atol: leading white space, a sign, digits up to the first other
// character; 0 when there are none. Out-of-range values stop at the 32-bit limits instead of
// being undefined.
inline std::int32_t ReadLeadingDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kLimit + 1);
  }
  return static_cast<std::int32_t>(negative ? -value : std::min(value, kLimit));
}

// Decimal digits, or "0x"/"0X" and hexadecimal digits, and nothing else; nothing when the text is
// not such a number or its value passes the limit.
inline std::optional<std::uint64_t> ParseUnsigned(
    std::string_view text, std::uint64_t limit = std::numeric_limits<std::uint64_t>::max()) {
  std::uint64_t base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    std::uint64_t digit = base;
    if (c >= '0' && c <= '9') digit = static_cast<std::uint64_t>(c - '0');
    if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<std::uint64_t>(c - 'a' + 10);
    if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<std::uint64_t>(c - 'A' + 10);
    if (digit >= base || value > (limit - digit) / base) return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

}  // namespace vantrel::platform
