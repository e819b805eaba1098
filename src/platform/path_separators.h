#pragma once

#include <string>
#include <string_view>

namespace vantrel::platform {

// The native separator facts the path rules build on: "\" and a drive's ":" on Windows, "/"
// elsewhere. Windows also takes "/" between folders. UTF-8 never carries an ASCII byte inside a
// multi-byte character, so a byte test is safe.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr bool kColonSeparates = true;
#else
inline constexpr char kPathSeparator = '/';
inline constexpr bool kColonSeparates = false;
#endif

// Ends a folder or a drive name: what the folder part and ShortenPath split at.
inline constexpr bool IsPathSeparator(char c) {
  return c == kPathSeparator || (kColonSeparates && c == ':');
}

// The file name after the last separator; "/" also ends a folder on Windows.
inline std::string_view FileNamePart(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsPathSeparator(path[i - 1]) || path[i - 1] == '/') return path.substr(i);
  }
  return path;
}

// folder + separator + name; an empty folder gives the name alone (relative, never the root).
inline std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && !IsPathSeparator(path.back()) && path.back() != '/') {
    path += kPathSeparator;
  }
  path += name;
  return path;
}

}  // namespace vantrel::platform
