#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

// Longest text value a read hands back, in bytes.
inline constexpr std::size_t kIniTextLimit = 2047;

// An INI profile file read once into memory. Section and key names match without regard to
// (ASCII) case; values are bytes, taken verbatim apart from the blanks around them. Lines whose
// first non-blank character is ';' are comments. Within a file the first occurrence of a key wins.
class IniFile {
 public:
  // A missing or unreadable file reads as an empty one: every key gives its default. A file that
  // is not UTF-8 is read in the legacy code page (TextFromForeignFile).
  static IniFile Load(const std::string& path);
  static IniFile Parse(std::string_view text);

  // At most kIniTextLimit bytes (never cutting a UTF-8 sequence in two).
  std::string ReadText(std::string_view section, std::string_view key,
                       std::string_view defaultValue) const;
  // Decimal, or hexadecimal after "0x"/"0X"; anything else, or a number outside 32 bits,
  // gives the default.
  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::int32_t defaultValue) const;

  struct KeyValue {
    std::string_view section;
    std::string_view key;
    std::string_view value;
  };
  // Writes the keys in their order with one atomic replace of the file (temporary file, then
  // rename): all of them or none. An existing key is replaced in place, a new key goes to the
  // end of its section, a new section to the end of the file. The file keeps its encoding: one
  // that reads as UTF-8 stays UTF-8, one in the legacy code page stays in it, and a new file, or
  // one of plain ASCII, takes the system's own (NativeCodePage). Lines the write does not touch
  // keep their bytes; a character the encoding lacks is written as "?". False when the file could
  // not be written.
  static bool WriteTexts(const std::string& path, std::span<const KeyValue> keys);
  static bool WriteText(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

 private:
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };
  const Entry* Find(std::string_view section, std::string_view key) const;

  std::vector<Entry> entries_;
};

// The integer rule of INI values: optional sign and decimal digits, or "0x"/"0X" and one to eight
// significant hexadecimal digits (taken as the 32-bit pattern). Nothing else is a number.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

}  // namespace vantrel::platform
