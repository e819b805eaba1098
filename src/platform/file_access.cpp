#include "platform/file_access.h"

#include <filesystem>
#include <string_view>
#include <system_error>

namespace vantrel::platform {

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::FILE* f = OpenFileForReading(path);
  if (f == nullptr) return false;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

bool IsStream(const std::string& path) {
  const std::string_view p = path;
  if (p == "/dev/stdout" || p == "/dev/stderr" || p.starts_with("/dev/fd/") ||
      p.starts_with("/proc/self/fd/")) {
    return PathExists(path);
  }
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status st = fs::status(
      fs::path(std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size())), ec);
  return !ec && (fs::is_character_file(st) || fs::is_fifo(st) || fs::is_socket(st));
}

std::FILE* OpenStreamForWriting(const std::string& path) {
  return std::fopen(path.c_str(), "ab");
}

}  // namespace vantrel::platform
