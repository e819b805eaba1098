#include "cli/view/view_address.h"

namespace vantrel::cli {

std::optional<ViewAddress> ParseViewAddress(std::string_view text, std::string& error) {
  ViewAddress view;
  std::string_view port = text;
  if (const auto colon = text.rfind(':'); colon != std::string_view::npos) {
    std::string_view address = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (address.starts_with('[') && address.ends_with(']')) {
      address = address.substr(1, address.size() - 2);
    } else if (address.find(':') != std::string_view::npos) {
      error = "--view " + std::string(text) + ": write an IPv6 address in brackets, [ADDR]:PORT";
      return std::nullopt;
    }
    if (address.empty()) {
      error = "--view " + std::string(text) + " names no address before the ':'";
      return std::nullopt;
    }
    view.address = address;
  }
  int number = 0;
  for (const char c : port) {
    if (c < '0' || c > '9' || number > 65535) {
      number = -1;
      break;
    }
    number = number * 10 + (c - '0');
  }
  if (port.empty() || number < 1 || number > 65535) {
    error = "--view needs [ADDR:]PORT with a PORT from 1 to 65535, not '" + std::string(text) + "'";
    return std::nullopt;
  }
  view.port = number;
  return view;
}

}  // namespace vantrel::cli
