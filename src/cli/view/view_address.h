#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel::cli {

// Where --view listens: [ADDR:]PORT, the address this computer's own unless given.
struct ViewAddress {
  std::string address = "127.0.0.1";
  int port = 0;
};

// PORT, ADDR:PORT or [IPv6]:PORT; nothing, and why, for anything else.
std::optional<ViewAddress> ParseViewAddress(std::string_view text, std::string& error);

}  // namespace vantrel::cli
