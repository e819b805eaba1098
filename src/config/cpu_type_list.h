#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The CPU types: names of the regular, visible files in CTRL_MOT whose extension is ".inf" or
// ".mot" in any letter case, sorted without regard to case. Empty when the folder is missing.
std::vector<std::string> ListCpuTypes(std::string_view exeFolder);

}  // namespace vantrel
