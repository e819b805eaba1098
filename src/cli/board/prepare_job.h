#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/entry/cli_options.h"
#include "core/job_inputs.h"

namespace vantrel::cli {

// A job as the options describe it, with the window's messages on the way there (a job file's
// program of the wrong type, a Baud.ini section's block size or ROM base that is refused).
struct PreparedJob {
  JobSettings settings;
  std::vector<std::string> messages;
};

// Sets up the job the options describe, as the window's own start-up would: the job file, the
// fixed program, the CPU type's Baud.ini section, then the options that win over everything. The
// port is this board's (empty: the job file's). The reason when the job is incomplete.
std::optional<std::string> PrepareJob(const CliOptions& options, const std::string& port,
                                      PreparedJob& job);

}  // namespace vantrel::cli
