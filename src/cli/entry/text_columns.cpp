#include "cli/entry/text_columns.h"

#include <cstdint>

#include "platform/text_encoding.h"

namespace vantrel::cli {
namespace {

struct Character {
  std::size_t bytes = 1;
  std::size_t columns = 1;
};

std::uint32_t CodePoint(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence[0]);
  if (sequence.size() == 1) return lead;
  std::uint32_t cp = lead & (0x7Fu >> sequence.size());
  for (std::size_t i = 1; i < sequence.size(); ++i) {
    cp = (cp << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3Fu);
  }
  return cp;
}

std::size_t ColumnsOfCodePoint(std::uint32_t cp) {
  struct Range {
    std::uint32_t first;
    std::uint32_t last;
  };
  static constexpr Range kNone[] = {{0x0000, 0x001F}, {0x007F, 0x009F}, {0x0300, 0x036F},
                                    {0x200B, 0x200F}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}};
  static constexpr Range kTwo[] = {
      {0x1100, 0x115F}, {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},  {0x4E00, 0x9FFF},
      {0xA000, 0xA4CF}, {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},  {0xFF00, 0xFF60},
      {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD}};
  for (const Range& r : kNone) {
    if (cp >= r.first && cp <= r.last) return 0;
  }
  for (const Range& r : kTwo) {
    if (cp >= r.first && cp <= r.last) return 2;
  }
  return 1;
}

Character First(std::string_view text) {
  const std::size_t n = platform::Utf8SequenceLength(text);
  if (n == 0) return {};
  return {n, ColumnsOfCodePoint(CodePoint(text.substr(0, n)))};
}

}  // namespace

std::size_t ColumnsOf(std::string_view text) {
  std::size_t columns = 0;
  while (!text.empty()) {
    const Character c = First(text);
    columns += c.columns;
    text.remove_prefix(c.bytes);
  }
  return columns;
}

std::string_view CutToColumns(std::string_view text, std::size_t columns) {
  std::size_t at = 0;
  std::size_t used = 0;
  while (at < text.size()) {
    const Character c = First(text.substr(at));
    if (used + c.columns > columns) break;
    used += c.columns;
    at += c.bytes;
  }
  return text.substr(0, at);
}

std::string KeepEnd(std::string_view text, std::size_t columns) {
  std::size_t over = ColumnsOf(text);
  if (over <= columns) return std::string(text);
  constexpr std::string_view kDots = "...";
  if (columns <= kDots.size()) return std::string(kDots.substr(0, columns));
  // Whole characters off the front until the rest fits behind the dots.
  over -= columns - kDots.size();
  while (!text.empty() && over > 0) {
    const Character c = First(text);
    over -= std::min(over, c.columns);
    text.remove_prefix(c.bytes);
  }
  return std::string(kDots) + std::string(text);
}

std::string WrapToColumns(std::string_view text, std::size_t columns) {
  std::string out;
  while (!text.empty()) {
    std::string_view line = CutToColumns(text, columns);
    if (line.size() < text.size()) {
      const auto blank = line.rfind(' ');
      if (blank != std::string_view::npos && blank > 0) line = line.substr(0, blank);
    }
    if (line.empty()) line = text.substr(0, First(text).bytes);  // no room even for one
    out.append(line);
    out += '\n';
    text.remove_prefix(line.size());
    while (text.starts_with(' ')) text.remove_prefix(1);
  }
  return out;
}

}  // namespace vantrel::cli
