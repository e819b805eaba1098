#include "platform/ini_file.h"

#include <algorithm>
#include <limits>

#include "platform/file_access.h"
#include "platform/replace_file.h"
#include "platform/text.h"
#include "platform/text_encoding.h"

namespace vantrel::platform {
namespace {

char FoldCase(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

// "[name]" (blanks allowed around and inside the brackets); nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> SplitKeyLine(std::string_view line) {
  const auto trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const auto key = TrimBlanks(line.substr(0, eq));
  if (key.empty()) return std::nullopt;
  return KeyLine{key, TrimBlanks(line.substr(eq + 1))};
}

// A UTF-8 byte order mark at the start is not part of the first line.
std::string_view SkipBom(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

std::string CutToLimit(std::string_view value) {
  return std::string(CutAtCharacter(value, kIniTextLimit));
}
// One line of a file as it is on disk, and as text for matching its names.
struct RawLine {
  std::string bytes;
  std::string end;  // "\n", "\r\n" or "" for a last line without one
  std::string text;
};

// The code page a write keeps: UTF-8 for a file that reads as UTF-8, the legacy code page for
// one that does not; a new file, or one of plain ASCII (which reads the same in both), takes the
// system's own.
unsigned CodePageOf(std::string_view bytes) {
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return NativeCodePage();
  return IsValidUtf8(bytes) ? kUtf8CodePage : LegacyCodePage();
}

std::vector<RawLine> SplitLines(std::string_view rest) {
  std::vector<RawLine> lines;
  while (!rest.empty()) {
    const auto lf = rest.find('\n');
    RawLine line{std::string(rest.substr(0, lf)), lf == std::string_view::npos ? "" : "\n", {}};
    rest = lf == std::string_view::npos ? std::string_view{} : rest.substr(lf + 1);
    if (!line.end.empty() && !line.bytes.empty() && line.bytes.back() == '\r') {
      line.bytes.pop_back();
      line.end = "\r\n";
    }
    // As a read takes it.
    line.text = TextFromForeignFile(line.bytes);
    lines.push_back(std::move(line));
  }
  return lines;
}

// Puts one key into the lines: in place, else at the end of its section, else in a new section.
void PutKey(std::vector<RawLine>& lines, const IniFile::KeyValue& kv, unsigned codePage,
            const std::string& eol) {
  const auto line = [&](std::string text) {
    return RawLine{EncodeCodePage(text, codePage), eol, text};
  };
  const std::string keyLine = std::string(kv.key) + "=" + std::string(kv.value);
  std::size_t sectionAt = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(i == 0 ? SkipBom(lines[i].text) : lines[i].text);
    if (name && SameName(*name, kv.section)) {
      sectionAt = i;
      break;
    }
  }
  if (sectionAt == lines.size()) {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
    lines.push_back(line("[" + std::string(kv.section) + "]"));
    lines.push_back(line(keyLine));
    return;
  }
  std::size_t insertAt = sectionAt + 1;
  for (std::size_t i = sectionAt + 1; i < lines.size(); ++i) {
    if (SectionName(lines[i].text)) break;
    const auto found = SplitKeyLine(lines[i].text);
    if (found && SameName(found->key, kv.key)) {
      const std::string end = lines[i].end;
      lines[i] = line(keyLine);
      lines[i].end = end;
      return;
    }
    if (!TrimBlanks(lines[i].text).empty()) insertAt = i + 1;
  }
  if (lines[insertAt - 1].end.empty()) lines[insertAt - 1].end = eol;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line(keyLine));
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::uint64_t value = 0;
    for (char c : text.substr(2)) {
      int digit;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else {
        return std::nullopt;
      }
      value = value * 16 + static_cast<std::uint64_t>(digit);
      if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

IniFile IniFile::Load(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return IniFile{};
  return Parse(TextFromForeignFile(bytes));
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  text = SkipBom(text);
  std::optional<std::string> section;  // key lines before the first section belong to none
  while (!text.empty()) {
    const auto lf = text.find('\n');
    const auto line = text.substr(0, lf);
    text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
    if (const auto name = SectionName(line)) {
      section = std::string(*name);
    } else if (const auto kv = SplitKeyLine(line); kv && section) {
      file.entries_.push_back({*section, std::string(kv->key), std::string(kv->value)});
    }
  }
  return file;
}

const IniFile::Entry* IniFile::Find(std::string_view section, std::string_view key) const {
  for (const auto& e : entries_) {
    if (SameName(e.section, section) && SameName(e.key, key)) return &e;
  }
  return nullptr;
}

std::string IniFile::ReadText(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
  const Entry* e = Find(section, key);
  return CutToLimit(e ? std::string_view(e->value) : defaultValue);
}

std::int32_t IniFile::ReadInt(std::string_view section, std::string_view key,
                              std::int32_t defaultValue) const {
  const Entry* e = Find(section, key);
  if (e == nullptr) return defaultValue;
  return ParseIniInteger(e->value).value_or(defaultValue);
}

bool IniFile::WriteTexts(const std::string& path, std::span<const KeyValue> keys) {
  std::string old;
  // A file that is there but cannot be read would be replaced by the keys alone: refuse instead.
  if (!ReadWholeFile(path, old) && PathExists(path)) return false;
  const unsigned codePage = CodePageOf(old);
  std::vector<RawLine> lines = SplitLines(old);
  // New lines follow the file's own line ends.
  const std::string eol = (!lines.empty() && lines.front().end == "\r\n") ? "\r\n" : "\n";
  for (const auto& key : keys) PutKey(lines, key, codePage, eol);
  std::string bytes;
  for (const auto& line : lines) bytes += line.bytes + line.end;
  return ReplaceFile(path, bytes);
}

bool IniFile::WriteText(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  const KeyValue one{section, key, value};
  return WriteTexts(path, {&one, 1});
}

}  // namespace vantrel::platform
