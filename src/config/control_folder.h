#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// A file of the write-control folder CTRL_MOT beside the executable.
std::string ControlFolderFile(std::string_view exeFolder, std::string_view name);

// The name's extension (from the last '.' of its file name part) is ".inf" in any letter case.
bool HasInfExtension(std::string_view name);

}  // namespace vantrel
