#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "app/window_host.h"

namespace vantrel {

// How long a later copy waits for a first copy that is still starting.
inline constexpr std::uint32_t kFirstCopyWaitMs = 10000;

// A later copy of the window program: it hands its command line to the first copy, or, without
// one, says in a box that the program must not run twice. The exit code: 1 when the first copy
// did not take the command line (handOver false), else 0.
int SecondStart(WindowHost& host, std::string_view commandText,
                const std::function<bool(std::string_view)>& handOver);

}  // namespace vantrel
