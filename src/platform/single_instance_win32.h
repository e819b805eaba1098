#pragma once

#include <cstdint>
#include <string_view>

namespace vantrel::platform {

enum class MutexClaim { First, AnotherRuns };

// The first running copy holds a named mutex for as long as it runs: it is never released, the
// process takes it along when it ends. A name another copy holds, or one that cannot be made a
// mutex (another user's copy, an object of another kind), is another copy's: a copy never runs
// as the first one without the mutex. Windows builds only.
MutexClaim ClaimNamedMutex(std::string_view name);

// A later copy hands its text to the first copy's window, found by its caption within waitMs, as
// WM_COPYDATA in the ANSI code page, and waits until that window has handled it. False when no
// such window came up.
bool SendToFirstCopy(std::string_view caption, std::string_view utf8, std::uint32_t waitMs);

}  // namespace vantrel::platform
