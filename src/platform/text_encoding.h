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

inline constexpr unsigned kUtf8CodePage = 65001;

// The code page files from other programs are in when they are not UTF-8: the ANSI code page on
// Windows (932, Shift-JIS, on a Japanese system); 932 on POSIX, where such files come from there.
unsigned LegacyCodePage();

// The code page the system's own text files are in: the ANSI code page on Windows, UTF-8 on
// POSIX.
unsigned NativeCodePage();

// The bytes read in a code page, as UTF-8; nothing when they are not text in that code page or
// the system cannot convert from it.
std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage);

// UTF-8 text in a code page. A character the code page lacks becomes "?", as the system's own
// calls in that code page write it.
std::string EncodeCodePage(std::string_view utf8, unsigned codePage);

// The longest start of a file name that fits a fixed buffer of `limit` units as the system's
// programs count them, never cutting a character: bytes in the ANSI code page on Windows,
// characters on POSIX.
std::string_view CutFileName(std::string_view utf8, std::size_t limit);

// The length of the UTF-8 character that starts at `at`; 1 for a byte that starts none.
std::size_t Utf8CharLength(std::string_view text, std::size_t at);

// The rule for text files other programs wrote (settings, Baud.ini, AutoPgm.ini, boot
// definitions), line by line: valid UTF-8 is taken as it is, anything else is read in the legacy
// code page, and a line that is text in neither stays as it is.
std::string TextFromForeignFile(std::string_view bytes);

}  // namespace vantrel::platform
