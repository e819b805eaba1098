#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct DialogFilterEntry {
  std::string description;
  std::vector<std::string> patterns;
};

// "description|patterns|description|patterns..." as the file dialog's entries, the first
// preselected; the patterns of an entry are separated by ';', blanks around them dropped.
std::vector<DialogFilterEntry> ParseDialogFilter(std::string_view filter);

}  // namespace vantrel
