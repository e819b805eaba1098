#pragma once

namespace vantrel::platform {

// The native separator facts the path rules build on. Windows also takes '/' between folders,
// and ':' ends a drive name ("C:file.mot" is file.mot in C:'s current folder).
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr bool kColonSeparates = true;
inline constexpr bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}
#else
inline constexpr char kPathSeparator = '/';
inline constexpr bool kColonSeparates = false;
inline constexpr bool IsPathSeparator(char c) {
  return c == '/';
}
#endif

}  // namespace vantrel::platform
