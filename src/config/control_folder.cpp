#include "config/control_folder.h"

#include "config/path_rules.h"
#include "platform/path_separators.h"
#include "platform/text.h"

namespace vantrel {

std::string ControlFolderFile(std::string_view exeFolder, std::string_view name) {
  return platform::JoinPath(platform::JoinPath(exeFolder, "CTRL_MOT"), name);
}

bool HasInfExtension(std::string_view name) {
  return platform::EqualsIgnoringCase(FileExtension(name), ".inf");
}

}  // namespace vantrel
