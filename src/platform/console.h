#pragma once

namespace vantrel::platform {

// Readies the console for the program's output: UTF-8 shown as such (Windows switches the
// console's output code page) and, on Windows, the control sequences of a progress line.
// True when standard error is an interactive terminal that can redraw a line in place.
bool PrepareConsole();

}  // namespace vantrel::platform
