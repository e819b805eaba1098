#pragma once

#include <string>
#include <vector>

namespace vantrel::platform {

// The program's arguments after its own name, as UTF-8. Windows reads them from the UTF-16
// command line: argv holds them in the ANSI code page, which loses what it cannot spell.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace vantrel::platform
