#include <windows.h>

#include <string>

#include "platform/append_file.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {
namespace {

HANDLE OpenForAppending(const std::wstring& path, DWORD access) {
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The file's last byte is a newline, or the file is empty (or cannot be read).
bool EndsARecord(HANDLE file) {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size) || size.QuadPart == 0) return true;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(size.QuadPart - 1);
  at.OffsetHigh = static_cast<DWORD>((size.QuadPart - 1) >> 32);
  char last = '\n';
  DWORD read = 0;
  return !::ReadFile(file, &last, 1, &read, &at) || read != 1 || last == '\n';
}

}  // namespace

AppendFile::~AppendFile() {
  ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::unique_ptr<AppendFile> AppendFile::Open(const std::string& path, std::string& error) {
  // Append access without write access: the system puts every write at the end of the file, as
  // O_APPEND does. Read access to see whether the last record ended.
  const std::wstring name = Widen(path);
  HANDLE file = OpenForAppending(name, FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE);
  if (file == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED) {
    file = OpenForAppending(name, FILE_APPEND_DATA | SYNCHRONIZE);
  }
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
  const std::lock_guard<std::mutex> hold(appending_);
  // A record cut short earlier is not this one's start. An append-only handle cannot cut a short
  // write back; the next record still starts on a line of its own.
  std::string record = EndsARecord(file) ? std::string() : std::string("\n");
  record += bytes;
  if (record.size() > MAXDWORD) return false;
  DWORD written = 0;
  return ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
         written == record.size() && ::FlushFileBuffers(file);
}

}  // namespace vantrel::platform
