#include "config/cpu_type_list.h"

#include <algorithm>

#include "config/control_folder.h"
#include "platform/folder_listing.h"

namespace vantrel {
namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

bool EndsWithExtension(std::string_view name, std::string_view ext) {
  if (name.size() <= ext.size()) return false;
  const auto tail = name.substr(name.size() - ext.size());
  for (std::size_t i = 0; i < ext.size(); ++i) {
    if (Lower(tail[i]) != ext[i]) return false;
  }
  return true;
}

// Names equal but for case keep a fixed order, whatever order the folder gives them in.
bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const auto folded = [](char x, char y) {
    return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
  };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
  return a < b;
}

}  // namespace

std::vector<std::string> ListCpuTypes(std::string_view exeFolder, std::string_view dataFolder) {
  std::vector<std::string> names;
  for (const std::string_view folder : {exeFolder, dataFolder}) {
    if (folder.empty()) continue;
    for (auto& entry : platform::ListFolder(ControlFolderFile(folder, ""))) {
      if (!entry.regular || entry.hidden) continue;
      if (EndsWithExtension(entry.name, ".inf") || EndsWithExtension(entry.name, ".mot")) {
        names.push_back(std::move(entry.name));
      }
    }
  }
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  // A CPU type in both folders is listed once.
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

}  // namespace vantrel
