#include "config/control_folder.h"

#include "config/path_rules.h"
#include "platform/file_access.h"
#include "platform/path_separators.h"
#include "platform/text.h"

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
  return platform::EqualsIgnoringCase(FileExtension(name), ".inf");
}

}  // namespace vantrel
