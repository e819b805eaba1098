#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "platform/utf16_win32.h"
#else
#include <filesystem>
#endif

namespace vantrel::testing {

// The process still has the file open.
inline bool FileHeldOpen(const std::string& path) {
#ifdef _WIN32
  // An open without sharing fails while any other handle to the file is open.
  const HANDLE h = ::CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_SHARING_VIOLATION;
  ::CloseHandle(h);
  return false;
#else
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path file = fs::canonical(path, ec);
  for (const auto& fd : fs::directory_iterator("/proc/self/fd", ec)) {
    if (fs::read_symlink(fd.path(), ec) == file) return true;
  }
  return false;
#endif
}

}  // namespace vantrel::testing
