#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vantrel::platform {

// A file that only grows, by records that survive a crash: each Append is one write at the end of
// the file, so that several programs appending to it never interleave, and is on the disk before
// Append returns. A record is whole or absent: one the disk had no room for is cut off again,
// and a record always starts where the one before ended with a newline.
class AppendFile {
 public:
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Opens the regular file, made if it is not there, for appending. Nothing, and why, when it
  // cannot be.
  static std::unique_ptr<AppendFile> Open(const std::string& path, std::string& error);

  // True when all the bytes were written and flushed to the disk. Safe from several threads.
  bool Append(std::string_view bytes);

 private:
  explicit AppendFile(std::intptr_t handle) : handle_(handle) {}

  std::intptr_t handle_;
  std::mutex appending_;
};

}  // namespace vantrel::platform
