#include <windows.h>

#include <vector>

#include "platform/final_path.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {
namespace {

HANDLE OpenToLookAt(const std::string& path) {
  return ::CreateFileW(Widen(path).c_str(), 0,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

std::string FinalPath(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    return path;
  }
  const HANDLE file = OpenToLookAt(path);
  if (file == INVALID_HANDLE_VALUE) return path;
  std::vector<wchar_t> name(MAX_PATH + 1);
  DWORD n = ::GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n >= name.size()) {
    name.resize(n + 1);
    n = ::GetFinalPathNameByHandleW(file, name.data(), static_cast<DWORD>(name.size()),
                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  }
  ::CloseHandle(file);
  if (n == 0 || n >= name.size()) return path;
  std::wstring final(name.data(), n);
  // The long-path prefixes, back to the names a user writes.
  if (final.starts_with(L"\\\\?\\UNC\\")) {
    final = L"\\\\" + final.substr(8);
  } else if (final.starts_with(L"\\\\?\\")) {
    final = final.substr(4);
  }
  return Narrow(final);
}

unsigned NameCount(const std::string& path) {
  const HANDLE file = OpenToLookAt(path);
  if (file == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(file, &info);
  ::CloseHandle(file);
  return known ? info.nNumberOfLinks : 0;
}

}  // namespace vantrel::platform
