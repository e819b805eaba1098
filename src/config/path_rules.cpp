#include "config/path_rules.h"

#include <algorithm>
#include "platform/path_separators.h"

#include "platform/text.h"

namespace vantrel {
namespace {

using platform::IsPathSeparator;
using platform::kPathSeparator;

const std::string kEllipsisFolder = std::string("...") + kPathSeparator;

std::size_t LastSeparator(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsPathSeparator(path[i - 1])) return i - 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::string FolderPart(std::string_view path) {
  const std::size_t at = LastSeparator(path);
  if (at == std::string_view::npos) return {};
  const bool keep = path[at] == ':' || at == 0 || IsPathSeparator(path[at - 1]);
  return std::string(path.substr(0, keep ? at + 1 : at));
}

std::string_view FileExtension(std::string_view path) {
  const std::string_view name = platform::FileNamePart(path);
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool IsUserProgramExtension(std::string_view path) {
  const std::string_view ext = FileExtension(path);
  return platform::EqualsIgnoringCase(ext, ".mot") || platform::EqualsIgnoringCase(ext, ".s");
}

std::string CutFirstFolder(std::string_view folder) {
  if (folder.size() == 1 && folder[0] == kPathSeparator) return {};
  const bool leading = !folder.empty() && folder[0] == kPathSeparator;
  if (leading) folder.remove_prefix(1);
  if (!folder.empty() && folder[0] == '.')
    folder.remove_prefix(std::min<std::size_t>(4, folder.size()));
  std::string result;
  const auto sep = folder.find(kPathSeparator);
  if (sep != std::string_view::npos) result = kEllipsisFolder + std::string(folder.substr(sep + 1));
  if (leading) result.insert(result.begin(), kPathSeparator);
  return result;
}

std::string ShortenPath(std::string_view path, const std::function<int(std::string_view)>& width,
                        int maxWidth) {
  std::string result(path);
  const std::size_t at = LastSeparator(path);
  std::string folder(at == std::string_view::npos ? std::string_view() : path.substr(0, at + 1));
  const std::string name(at == std::string_view::npos ? path : path.substr(at + 1));
  std::string drive;
  if (folder.size() >= 2 && folder[1] == ':') {
    drive = folder.substr(0, 2);
    folder.erase(0, 2);
  }
  const std::string rootEllipsis = kPathSeparator + kEllipsisFolder;
  while ((!folder.empty() || !drive.empty()) && width(result) > maxWidth) {
    if (folder == rootEllipsis) {
      drive.clear();
      folder = kEllipsisFolder;
    } else if (folder.empty()) {
      drive.clear();
    } else {
      folder = CutFirstFolder(folder);
    }
    result = drive + folder + name;
  }
  return result;
}

}  // namespace vantrel
