#pragma once

#include <cstdint>
#include <optional>
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

  // Writes one key, replacing the file atomically (temporary file, then rename). The file is
  // written in UTF-8: other lines keep their bytes when it was UTF-8 already, their text when it
  // was in the legacy code page. An existing key is replaced in place, a new key goes to the end
  // of its section, a new section to the end of the file. False when the file could not be
  // written.
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
