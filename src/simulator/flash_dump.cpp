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

}  // namespace vantrel::simulator
