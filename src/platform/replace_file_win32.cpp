#include <windows.h>

#include <algorithm>
#include <array>

#include "platform/replace_file.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {
namespace {

std::wstring FolderOf(const std::wstring& path) {
  const auto sep = path.find_last_of(L"\\/:");
  if (sep == std::wstring::npos) return L".";
  return path.substr(0, path[sep] == L':' ? sep + 1 : (sep == 0 ? 1 : sep));
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::wstring target = Widen(path);
  const DWORD old = ::GetFileAttributesW(target.c_str());
  if (old != INVALID_FILE_ATTRIBUTES &&
      (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE))) {
    return false;
  }
  // A unique name in the same folder keeps the final move a rename on one volume.
  std::array<wchar_t, MAX_PATH + 1> temp{};
  if (::GetTempFileNameW(FolderOf(target).c_str(), L"vtl", 0, temp.data()) == 0) return false;
  const HANDLE file = ::CreateFileW(temp.data(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = file != INVALID_HANDLE_VALUE;
  if (ok) {
    ok = WriteAll(file, bytes) && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
  }
  // The old file's hidden or system mark stays with the name.
  if (ok && old != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(temp.data(), old);
  ok = ok && ::MoveFileExW(temp.data(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) ::DeleteFileW(temp.data());
  return ok;
}

}  // namespace vantrel::platform
