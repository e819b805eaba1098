#pragma once

#include <string>

namespace vantrel::platform {

// The folder of the running executable, without a trailing separator ("/" stays "/").
std::string ExecutableFolder();

}  // namespace vantrel::platform
