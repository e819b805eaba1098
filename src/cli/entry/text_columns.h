#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel::cli {

// The columns a terminal gives UTF-8 text: two for a full-width character, none for a combining
// mark or a control character, one for anything else (a byte that is no UTF-8 among them).
std::size_t ColumnsOf(std::string_view text);

// The longest start of the text within `columns` columns, never cutting a character.
std::string_view CutToColumns(std::string_view text, std::size_t columns);

// The text in at most `columns` columns: a longer one keeps its end behind "...", where port
// names differ (/dev/serial/by-id/usb-..._A10KXYZ1-if00-port0).
std::string KeepEnd(std::string_view text, std::size_t columns);

// The text broken at blanks into lines of at most `columns` columns, each ending in a newline;
// a word longer than a line is cut.
std::string WrapToColumns(std::string_view text, std::size_t columns);

}  // namespace vantrel::cli
