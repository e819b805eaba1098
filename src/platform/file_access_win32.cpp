#include <io.h>
#include <windows.h>

#include "platform/file_access.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

std::FILE* OpenFileForReading(const std::string& path) {
  // A folder does not open; a device name (NUL, COM1, CON) opens, but not as a disk file.
  std::FILE* f = ::_wfopen(Widen(path).c_str(), L"rb");
  if (f == nullptr) return nullptr;
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(f)));
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    std::fclose(f);
    return nullptr;
  }
  return f;
}

std::FILE* OpenFileForWriting(const std::string& path) {
  return ::_wfopen(Widen(path).c_str(), L"wb");
}

bool PathExists(const std::string& path) {
  return ::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FolderWritable(const std::string& path) {
  // Access lists decide, and only trying tells what they allow.
  if (!IsFolder(path)) return false;
  const std::wstring probe =
      Widen(path) + L"\\.vantrel-write-test-" + std::to_wstring(::GetCurrentProcessId());
  const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

std::string AbsolutePath(const std::string& path) {
  const std::wstring wide = Widen(path);
  const DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD written = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return path;
  full.resize(written);
  return Narrow(full);
}

}  // namespace vantrel::platform
