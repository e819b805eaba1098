#include "simulator/flash_dump.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vantrel::simulator {

bool WriteFlashDump(const Flash& flash, const std::string& path, std::string* error) {
  const std::string temporary = path + ".tmp";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) {
    if (error) *error = "cannot write " + temporary;
    return false;
  }
  const auto bytes = flash.bytes();
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  std::error_code ec;
  if (!written || !closed) {
    std::filesystem::remove(temporary, ec);
    if (error) *error = "cannot write " + temporary;
    return false;
  }
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    if (error) *error = "cannot replace " + path;
    return false;
  }
  return true;
}

std::string BoardDumpPath(const std::string& path, std::uint32_t board) {
  const auto slash = path.find_last_of('/');
  auto dot = path.rfind('.');
  // A dot that starts the name or belongs to a folder is no extension.
  if (dot == std::string::npos || dot == 0 || (slash != std::string::npos && dot <= slash + 1)) {
    dot = path.size();
  }
  return path.substr(0, dot) + "-" + std::to_string(board) + path.substr(dot);
}

}  // namespace vantrel::simulator
