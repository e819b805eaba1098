#pragma once

#include <string>
#include <string_view>

namespace vantrel::platform {

// Texts are UTF-8 inside the program and UTF-16 at every Windows call, so names in any script
// work whatever the system's ANSI code page is. Windows builds only.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace vantrel::platform
