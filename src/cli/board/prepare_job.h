#pragma once

#include <optional>
#include <string>

#include "app/tform1.h"
#include "cli/entry/cli_options.h"

namespace vantrel::cli {

// Sets up the job the options describe, as the window's own start-up would: the job file, the
// fixed program, the CPU type's Baud.ini section, then the options that win over everything. The
// port is this board's (empty: the job file's). The reason when the job is incomplete.
std::optional<std::string> PrepareJob(TForm1& form, const CliOptions& options,
                                      const std::string& port);

}  // namespace vantrel::cli
