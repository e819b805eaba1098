#pragma once

#include "app/window_host.h"

namespace vantrel {

// What escaped the program's own handling, at start-up or in an event handler: its text in a box
// (the toolkit's standard exception message), then the end of the process with exit code 1, so
// that an unattended run never reports it as success. Called inside a catch block.
[[noreturn]] void EndOnUnexpectedException(WindowHost& host);

}  // namespace vantrel
