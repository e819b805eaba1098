#include "app/dialog_filter.h"

#include "platform/text.h"

namespace vantrel {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t at = 0;;) {
    const auto end = text.find(separator, at);
    parts.push_back(text.substr(at, end - at));
    if (end == std::string_view::npos) return parts;
    at = end + 1;
  }
}

}  // namespace

std::vector<DialogFilterEntry> ParseDialogFilter(std::string_view filter) {
  const auto parts = Split(filter, '|');
  std::vector<DialogFilterEntry> entries;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    DialogFilterEntry entry{std::string(parts[i]), {}};
    for (const auto pattern : Split(parts[i + 1], ';')) {
      const auto trimmed = platform::TrimBlanks(pattern);
      if (!trimmed.empty()) entry.patterns.emplace_back(trimmed);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace vantrel
