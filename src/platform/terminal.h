#pragma once

#include <cstdio>

namespace vantrel::platform {

// The stream goes to a terminal a person watches (not a file or a pipe).
bool IsTerminal(std::FILE* stream);

}  // namespace vantrel::platform
