#include "objfile/control_folder.h"

namespace vantrel {

std::string ControlFolderFile(std::string_view exeFolder, std::string_view name) {
  std::string path(exeFolder);
  // Only the root keeps its trailing separator.
  if (path.empty() || path.back() != '/') path += '/';
  path += "CTRL_MOT/";
  path += name;
  return path;
}

bool HasInfExtension(std::string_view name) {
  const auto slash = name.find_last_of('/');
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  const auto dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return false;
  const auto ext = name.substr(dot);
  if (ext.size() != 4) return false;
  const char* want = ".inf";
  for (std::size_t i = 0; i < 4; ++i) {
    char c = ext[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    if (c != want[i]) return false;
  }
  return true;
}

}  // namespace vantrel
