#pragma once

#include "cli/entry/cli_options.h"

namespace vantrel::cli {

// Runs one programming job as the window's Program button would and returns the exit code.
int RunCli(const CliOptions& options);

}  // namespace vantrel::cli
