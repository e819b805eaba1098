#pragma once

#include <string>
#include <string_view>

namespace vantrel {

// The CTRL_MOT folder that holds the file `name`: the one beside the executable when the file is
// there or nothing else is, else the installed data folder's when it has the file. A CPU type's
// Baud.ini section is read in the folder of its write-control file.
std::string ControlFolderFor(std::string_view exeFolder, std::string_view name,
                             std::string_view dataFolder = {});

// That folder's file `name`.
std::string ControlFolderFile(std::string_view exeFolder, std::string_view name,
                              std::string_view dataFolder = {});

// The name's extension (from the last '.' of its file name part) is ".inf" in any letter case.
bool HasInfExtension(std::string_view name);

}  // namespace vantrel
