#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The CPU types: names of the regular, visible files in CTRL_MOT (beside the executable and in the
// installed data folder) whose extension is ".inf" or ".mot" in any letter case, sorted without
// regard to case, each once. Empty when there is no such folder.
std::vector<std::string> ListCpuTypes(std::string_view exeFolder, std::string_view dataFolder = {});

}  // namespace vantrel
