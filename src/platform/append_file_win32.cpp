#include <windows.h>

#include "platform/append_file.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

AppendFile::~AppendFile() {
  ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::unique_ptr<AppendFile> AppendFile::Open(const std::string& path, std::string& error) {
  // Append access alone: the system puts every write at the end of the file, as O_APPEND does.
  const HANDLE file = ::CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "system error " + std::to_string(::GetLastError());
    return nullptr;
  }
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    ::CloseHandle(file);
    error = "not a regular file";
    return nullptr;
  }
  return std::unique_ptr<AppendFile>(new AppendFile(reinterpret_cast<std::intptr_t>(file)));
}

bool AppendFile::Append(std::string_view bytes) {
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  if (bytes.size() > MAXDWORD) return false;
  DWORD written = 0;
  return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && ::FlushFileBuffers(file);
}

}  // namespace vantrel::platform
