#include "platform/file_access.h"

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

}  // namespace vantrel::platform
