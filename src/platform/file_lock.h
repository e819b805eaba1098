#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/file_fault.h"

namespace vantrel::platform {

// An exclusive lock on a lock file, which every program that takes the same file waits for, on
// this machine or another one sharing the folder. Held until the object goes or the process
// ends; the lock file itself stays.
class FileLock {
 public:
  // Creates the lock file if need be (0666 less the umask) and waits up to waitMs for the lock;
  // `waiting` is called once when the lock has not come within kLockNoticeMs. nullptr when the
  // file cannot be made or opened or the lock did not come; `fault` says which (Busy: held).
  // Another account's lock file that is not ours to write still locks.
  static std::unique_ptr<FileLock> Take(const std::string& path, std::uint32_t waitMs,
                                        FileFault* fault = nullptr,
                                        const std::function<void()>& waiting = {});

  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  explicit FileLock(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_;  // a descriptor, or a Windows handle
};

inline constexpr std::uint32_t kLockNoticeMs = 1000;

}  // namespace vantrel::platform
