#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/file_lock.h"

namespace vantrel::platform {

std::unique_ptr<FileLock> FileLock::Take(const std::string& path, std::uint32_t waitMs) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  constexpr std::uint32_t kRetryMs = 10;
  // Polled rather than blocking, so that a lock held for good ends in a message, not a hang.
  for (std::uint32_t waited = 0;; waited += kRetryMs) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return std::unique_ptr<FileLock>(new FileLock(fd));
    if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMs) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(kRetryMs));
  }
  ::close(fd);
  return nullptr;
}

FileLock::~FileLock() {
  ::close(static_cast<int>(handle_));
}

}  // namespace vantrel::platform
