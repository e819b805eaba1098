#include "objfile/control_folder.h"

#include "platform/file_access.h"
#include "platform/path_separators.h"

namespace vantrel {

std::string ControlFolderFor(std::string_view exeFolder, std::string_view name,
                             std::string_view dataFolder) {
  using platform::JoinPath;
  std::string own = JoinPath(exeFolder, "CTRL_MOT");
  if (dataFolder.empty() || platform::PathExists(JoinPath(own, name))) return own;
  std::string installed = JoinPath(dataFolder, "CTRL_MOT");
  return platform::PathExists(JoinPath(installed, name)) ? installed : own;
}

std::string ControlFolderFile(std::string_view exeFolder, std::string_view name,
                              std::string_view dataFolder) {
  return platform::JoinPath(ControlFolderFor(exeFolder, name, dataFolder), name);
}

bool HasInfExtension(std::string_view name) {
  name = platform::FileNamePart(name);
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
