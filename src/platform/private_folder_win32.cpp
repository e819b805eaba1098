#include <windows.h>

#include <array>

#include "platform/folder_listing.h"
#include "platform/private_folder.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

std::unique_ptr<PrivateFolder> PrivateFolder::Make(std::string_view prefix) {
  // The temporary folder is the user's own; CreateDirectoryW fails on a name that is taken.
  std::array<wchar_t, MAX_PATH + 1> temp{};
  const DWORD n = ::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
  if (n == 0 || n >= temp.size()) return nullptr;
  const std::string base = Narrow(std::wstring_view(temp.data(), n)) + std::string(prefix) + "-" +
                           std::to_string(::GetCurrentProcessId()) + "-";
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::string path = base + std::to_string(::GetTickCount() + attempt);
    if (::CreateDirectoryW(Widen(path).c_str(), nullptr)) {
      return std::unique_ptr<PrivateFolder>(new PrivateFolder(path));
    }
  }
  return nullptr;
}

PrivateFolder::~PrivateFolder() {
  for (const auto& entry : ListFolder(path_))
    ::DeleteFileW(Widen(path_ + "\\" + entry.name).c_str());
  ::RemoveDirectoryW(Widen(path_).c_str());
}

}  // namespace vantrel::platform
