#pragma once

#include <string>

namespace vantrel::platform {

// The name this machine goes by, for records that must say which station wrote them; empty when
// the system does not tell.
std::string HostName();

}  // namespace vantrel::platform
