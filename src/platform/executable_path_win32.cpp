#include <windows.h>

#include <string>

#include "platform/executable_path.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return ".";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // long paths (\\?\...) exceed MAX_PATH
  }
  const auto sep = path.find_last_of(L"\\/");
  if (sep == std::wstring::npos) return ".";
  // "C:\" keeps its separator: "C:" alone would name the drive's current folder.
  return Narrow(path.substr(0, (sep > 0 && path[sep - 1] == L':') ? sep + 1 : sep));
}

}  // namespace vantrel::platform
