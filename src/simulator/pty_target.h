#pragma once

#include <cstdio>

#include "simulator/program_options.h"

namespace vantrel::simulator {

// Runs the simulated target on a new pseudo-terminal: makes options.linkPath a link to the slave,
// if given, prints the slave's path as the first line of `out`, then serves jobs until a stop
// signal or the last of options.jobs; with options.replugMs, each board after the first on a
// pseudo-terminal of its own, whose path is the next line. Trace goes to `err`. Returns the exit
// code: 0 normal end, 1 failure.
int RunPtyTarget(const ProgramOptions& options, std::FILE* out, std::FILE* err);

}  // namespace vantrel::simulator
