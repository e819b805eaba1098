#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/file_lock.h"

namespace vantrel::platform {
namespace {

FileFault FaultOf(int error) {
  if (error == EACCES || error == EPERM) return FileFault::NoPermission;
  if (error == ENOENT || error == ENOTDIR) return FileFault::NoFolder;
  return FileFault::Other;
}

}  // namespace

std::unique_ptr<FileLock> FileLock::Take(const std::string& path, std::uint32_t waitMs,
                                         FileFault* fault, const std::function<void()>& waiting) {
  FileFault ignored;
  FileFault& why = fault != nullptr ? *fault : ignored;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    // A lock file another account made, and ours only to read, locks as well.
    if (error == EACCES || error == EPERM) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      why = FaultOf(error);
      return nullptr;
    }
  }
  constexpr std::uint32_t kRetryMs = 10;
  // Polled rather than blocking, so that a lock held for good ends in a message, not a hang.
  for (std::uint32_t waited = 0;; waited += kRetryMs) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      why = FileFault::None;
      return std::unique_ptr<FileLock>(new FileLock(fd));
    }
    const int error = errno;
    if ((error != EWOULDBLOCK && error != EINTR) || waited >= waitMs) {
      // A network file system locks only what it may write: EBADF for a read-only descriptor.
      why = error == EWOULDBLOCK || error == EINTR ? FileFault::Busy
            : error == EBADF                       ? FileFault::NoPermission
                                                   : FileFault::Other;
      break;
    }
    if (waited == kLockNoticeMs && waiting) waiting();
    std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMs));
  }
  ::close(fd);
  return nullptr;
}

FileLock::~FileLock() {
  ::close(static_cast<int>(handle_));
}

}  // namespace vantrel::platform
