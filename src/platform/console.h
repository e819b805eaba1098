#pragma once

namespace vantrel::platform {

// Readies the console for the program's output: UTF-8 shown as such (Windows switches the
// console's output code page) and, on Windows, the control sequences of a progress line.
// True when standard error is an interactive terminal that can redraw a line in place.
bool PrepareConsole();

enum class StandardStream { Output, Error };

// The width in columns of the terminal the stream goes to, as it is now (a window may be
// resized at any time); 0 when the stream is no terminal.
int TerminalColumns(StandardStream stream);

}  // namespace vantrel::platform
