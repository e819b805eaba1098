#include <windows.h>

#include <string>

#include "platform/executable_path.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return Narrow(path);
    }
    path.resize(path.size() * 2);  // long paths (\\?\...) exceed MAX_PATH
  }
}

}  // namespace vantrel::platform
