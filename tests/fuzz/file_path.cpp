// A file path as the user gives it (the command line, a dropped file, a job file): its folder
// part, extension, the shortened form shown in the window and the first-folder cut.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/auto_command.h"
#include "config/path_rules.h"
#include "platform/path_separators.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel;
  if (size == 0) return 0;
  // The first byte is the width the path must fit; a byte's width is one.
  const int maxWidth = data[0];
  const std::string_view path(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::string folder = FolderPart(path);
  if (folder.size() > path.size() || path.substr(0, folder.size()) != folder) __builtin_trap();
  const std::string_view ext = FileExtension(path);
  if (ext.size() > path.size() || path.substr(path.size() - ext.size()) != ext) __builtin_trap();
  IsUserProgramExtension(path);
  CutFirstFolder(folder);
  const auto width = [](std::string_view s) { return static_cast<int>(s.size()); };
  // Folders go one by one until the path fits; only the bare name may stay wider.
  const std::string shortened = ShortenPath(path, width, maxWidth);
  if (width(shortened) > maxWidth && shortened != platform::FileNamePart(path)) __builtin_trap();
  AutoPgmPath("/opt/vantrel", path);
  return 0;
}
