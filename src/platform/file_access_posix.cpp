#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "platform/file_access.h"

namespace vantrel::platform {

std::FILE* OpenFileForReading(const std::string& path) {
  // Looked at before opening: opening a FIFO waits for a writer, opening a tty raises its lines.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  return std::fopen(path.c_str(), "rb");
}

std::FILE* OpenFileForWriting(const std::string& path) {
  return std::fopen(path.c_str(), "wb");
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FolderWritable(const std::string& path) {
  return IsFolder(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.string();
}

}  // namespace vantrel::platform
