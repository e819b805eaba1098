#include <windows.h>

#include <algorithm>
#include <random>

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

FileFault FaultOf(DWORD error) {
  if (error == ERROR_ACCESS_DENIED) return FileFault::NoPermission;
  if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) return FileFault::NoFolder;
  return FileFault::Other;
}

// A unique name in the same folder keeps the final move a rename on one volume.
HANDLE MakeTemporary(const std::string& path, std::wstring& temp) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = Widen(TemporaryName(path, (std::uint64_t{random()} << 32) | random()));
    const HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view bytes, FileFault* fault) {
  FileFault ignored;
  FileFault& why = fault != nullptr ? *fault : ignored;
  why = FileFault::Other;
  const std::wstring target = Widen(path);
  const DWORD old = ::GetFileAttributesW(target.c_str());
  if (old != INVALID_FILE_ATTRIBUTES &&
      (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE))) {
    if (old & FILE_ATTRIBUTE_READONLY) why = FileFault::NoPermission;
    return false;
  }
  std::wstring temp;
  const HANDLE file = MakeTemporary(path, temp);
  if (file == INVALID_HANDLE_VALUE) {
    why = FaultOf(::GetLastError());
    return false;
  }
  bool ok = WriteAll(file, bytes) && ::FlushFileBuffers(file);
  ok = ::CloseHandle(file) && ok;
  // The old file's hidden or system mark stays with the name.
  if (ok && old != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(temp.c_str(), old);
  if (ok && !::MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    why = FaultOf(::GetLastError());
    ok = false;
  }
  if (!ok) {
    ::DeleteFileW(temp.c_str());
    return false;
  }
  why = FileFault::None;
  return true;
}

void RemoveStaleTemporaries(const std::string& path, std::uint32_t minAgeSeconds) {
  const std::wstring wide = Widen(path);
  const auto sep = wide.find_last_of(L"\\/:");
  const std::wstring prefix = sep == std::wstring::npos ? std::wstring() : wide.substr(0, sep + 1);
  const std::string base = Narrow(sep == std::wstring::npos ? wide : wide.substr(sep + 1));
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileExW((wide + L".*").c_str(), FindExInfoBasic, &data,
                                         FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return;
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) {
    return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime;
  };
  const ULONGLONG minAge = ULONGLONG{minAgeSeconds} * 10000000;  // in 100 ns
  do {
    const bool file = (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE |
                                                FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    if (file && IsTemporaryOf(Narrow(data.cFileName), base) &&
        ticks(now) >= ticks(data.ftLastWriteTime) + minAge) {
      ::DeleteFileW((prefix + data.cFileName).c_str());
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

}  // namespace vantrel::platform
