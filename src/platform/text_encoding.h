#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::platform {

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut sequence.
bool IsValidUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 sequence the text starts with; 0 when it starts with none
// (or is empty).
std::size_t Utf8SequenceLength(std::string_view text);

// The code page files from other programs are in when they are not UTF-8: the ANSI code page on
// Windows (932, Shift-JIS, on a Japanese system); 932 on POSIX, where such files come from there.
unsigned LegacyCodePage();

// The bytes read in a code page, as UTF-8; nothing when they are not text in that code page or
// the system cannot convert from it.
std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage);

// The rule for text files other programs wrote (settings, Baud.ini, AutoPgm.ini, boot
// definitions): valid UTF-8 is taken as it is, anything else is read in the legacy code page;
// a file that is text in neither is read line by line the same way, and a line that is text in
// neither stays as it is. What this program writes is always UTF-8.
std::string TextFromForeignFile(std::string_view bytes);

}  // namespace vantrel::platform
