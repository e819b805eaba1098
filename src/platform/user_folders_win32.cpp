#include <windows.h>

#include "platform/file_access.h"
#include "platform/user_folders.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

std::string UserConfigBase() {
  const DWORD n = ::GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (n == 0) return "";
  std::wstring value(n, L'\0');
  const DWORD written = ::GetEnvironmentVariableW(L"APPDATA", value.data(), n);
  if (written == 0 || written >= n) return "";
  value.resize(written);
  return Narrow(value);
}

std::string InstalledDataFolder(std::string_view exeFolder) {
  return std::string(exeFolder);
}

bool MakeFolders(const std::string& path) {
  if (path.empty() || IsFolder(path)) return !path.empty();
  const auto cut = path.find_last_of("\\/", path.size() - 2);
  if (cut != std::string::npos && cut > 0 && path[cut - 1] != ':') {
    MakeFolders(path.substr(0, cut));
  }
  return ::CreateDirectoryW(Widen(path).c_str(), nullptr) != 0 || IsFolder(path);
}

}  // namespace vantrel::platform
