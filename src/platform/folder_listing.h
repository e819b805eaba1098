#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel::platform {

struct FolderEntry {
  std::string name;
  bool regular = false;  // an ordinary file (a link to one counts), not a folder or a device
  bool hidden = false;   // a dot file here; the hidden or system attribute on Windows
};

// The entries of a folder, in no particular order. Empty when the folder is missing or unreadable.
std::vector<FolderEntry> ListFolder(std::string_view folder);

}  // namespace vantrel::platform
