#pragma once

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "platform/path_separators.h"

namespace vantrel::testing {

// A path written with "/" in a test, with the system's own separator.
inline std::string Native(std::string path) {
  for (char& c : path) {
    if (c == '/') c = platform::kPathSeparator;
  }
  return path;
}

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    // create_directory fails on a name that is taken, so the folder is ours alone.
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const auto candidate = base / ("vantrel-" + std::to_string(random()));
      std::error_code ec;
      if (std::filesystem::create_directory(candidate, ec)) path_ = candidate.string();
    }
  }
  ~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The name's "/" become the system's separator.
  std::string PathOf(std::string_view name) const {
    return path_ + platform::kPathSeparator + Native(std::string(name));
  }

  // Writes the bytes as they are (no line-end translation), creating folders on the way.
  std::string Write(std::string_view name, std::string_view bytes) const {
    const std::string full = PathOf(name);
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    if (std::FILE* f = std::fopen(full.c_str(), "wb")) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    return full;
  }

  std::string Read(std::string_view name) const {
    std::string out;
    if (std::FILE* f = std::fopen(PathOf(name).c_str(), "rb")) {
      char buffer[4096];
      std::size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
      std::fclose(f);
    }
    return out;
  }

 private:
  std::string path_;
};

}  // namespace vantrel::testing
