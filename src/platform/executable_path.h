#pragma once

#include <string>

namespace vantrel::platform {

// The full path of the running executable; empty when the system does not tell.
std::string ExecutablePath();

}  // namespace vantrel::platform
