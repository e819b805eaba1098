#include "cli/entry/folders_text.h"

#include "platform/path_separators.h"

namespace vantrel::cli {

std::string FoldersText(const FileLocations& where, const std::string& exeFolder) {
  std::string text = "Folders of this copy (";
  text +=
      where.installed ? "installed: " + exeFolder + " is not" : "portable: " + exeFolder + " is";
  text += " yours to write):\n";
  text += "  home      " + where.home +
          "\n            (your CTRL_MOT, @AUTO_PGM, @APP_MOT, CpuInf.txt; --home replaces it)\n";
  text += "  CTRL_MOT  " + where.controlFolders.front();
  for (std::size_t i = 1; i < where.controlFolders.size(); ++i) {
    text += ", then " + where.controlFolders[i];
  }
  text += "\n  settings  " + platform::JoinPath(where.home, "vantrel.ini") + " (the window's)\n";
  return text;
}

}  // namespace vantrel::cli
