#include <windows.h>

#include "platform/file_lock.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {

std::unique_ptr<FileLock> FileLock::Take(const std::string& path, std::uint32_t waitMs) {
  const HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  constexpr DWORD kRetryMs = 10;
  // Polled rather than blocking, so that a lock held for good ends in a message, not a hang.
  for (std::uint32_t waited = 0;; waited += kRetryMs) {
    OVERLAPPED at{};
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      return std::unique_ptr<FileLock>(new FileLock(reinterpret_cast<std::intptr_t>(file)));
    }
    if (::GetLastError() != ERROR_LOCK_VIOLATION || waited >= waitMs) break;
    ::Sleep(kRetryMs);
  }
  ::CloseHandle(file);
  return nullptr;
}

FileLock::~FileLock() {
  const auto file = reinterpret_cast<HANDLE>(handle_);
  OVERLAPPED at{};
  ::UnlockFileEx(file, 0, 1, 0, &at);
  ::CloseHandle(file);
}

}  // namespace vantrel::platform
