#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vantrel::platform {

// An exclusive lock on a lock file, which every program that takes the same file waits for, on
// this machine or another one sharing the folder. Held until the object goes or the process
// ends; the lock file itself stays.
class FileLock {
 public:
  // Creates the lock file if need be and waits up to waitMs for the lock; nullptr when the file
  // cannot be made or the lock did not come.
  static std::unique_ptr<FileLock> Take(const std::string& path, std::uint32_t waitMs);

  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  explicit FileLock(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_;  // a descriptor, or a Windows handle
};

}  // namespace vantrel::platform
