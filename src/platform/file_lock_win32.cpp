#include <windows.h>

#include "platform/file_lock.h"
#include "platform/utf16_win32.h"

namespace vantrel::platform {
namespace {

FileFault FaultOf(DWORD error) {
  if (error == ERROR_ACCESS_DENIED) return FileFault::NoPermission;
  if (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) return FileFault::NoFolder;
  return FileFault::Other;
}

HANDLE OpenLockFile(const std::wstring& path, DWORD access, DWORD disposition) {
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

std::unique_ptr<FileLock> FileLock::Take(const std::string& path, std::uint32_t waitMs,
                                         FileFault* fault, const std::function<void()>& waiting) {
  FileFault ignored;
  FileFault& why = fault != nullptr ? *fault : ignored;
  const std::wstring name = Widen(path);
  HANDLE file = OpenLockFile(name, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = ::GetLastError();
    // A lock file another account made, and ours only to read, locks as well.
    if (error == ERROR_ACCESS_DENIED) file = OpenLockFile(name, GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
      why = FaultOf(error);
      return nullptr;
    }
  }
  constexpr DWORD kRetryMs = 10;
  // Polled rather than blocking, so that a lock held for good ends in a message, not a hang.
  for (std::uint32_t waited = 0;; waited += kRetryMs) {
    OVERLAPPED at{};
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      why = FileFault::None;
      return std::unique_ptr<FileLock>(new FileLock(reinterpret_cast<std::intptr_t>(file)));
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_LOCK_VIOLATION || waited >= waitMs) {
      why = error == ERROR_LOCK_VIOLATION ? FileFault::Busy : FaultOf(error);
      break;
    }
    if (waited == kLockNoticeMs && waiting) waiting();
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
