#pragma once

#include <string_view>

namespace vantrel::platform {

// Blanks around a value in a text file: spaces, tabs, and the CR of a CR LF line end.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

inline std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace vantrel::platform
