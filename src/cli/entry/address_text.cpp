#include "cli/entry/address_text.h"

namespace vantrel::cli {

std::string HexAddressSpelling(std::string_view text) {
  if (text.starts_with('$')) {
    text.remove_prefix(1);
  } else if (text.ends_with('h') || text.ends_with('H')) {
    text.remove_suffix(1);
  }
  if (text.empty() || text.size() > 8) return {};
  if (text.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) return {};
  return "0x" + std::string(text);
}

}  // namespace vantrel::cli
