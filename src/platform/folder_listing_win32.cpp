#include <windows.h>

#include "platform/folder_listing.h"
#include "platform/path_separators.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

std::vector<FolderEntry> ListFolder(std::string_view folder) {
  std::vector<FolderEntry> entries;
  std::string pattern(folder);
  if (!pattern.empty() && !IsPathSeparator(pattern.back()) && pattern.back() != '/') {
    pattern += kPathSeparator;
  }
  pattern += '*';
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileExW(Widen(pattern).c_str(), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const DWORD a = data.dwFileAttributes;
    entries.push_back({Narrow(name), (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0,
                       (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0});
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return entries;
}

}  // namespace vantrel::platform
