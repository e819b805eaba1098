#pragma once

#include <optional>
#include <string>

#include "cli/entry/cli_options.h"
#include "core/job_inputs.h"

namespace vantrel::cli {

// Before any port opens: the boot rate and the programming rate the job would use must be rates
// the port can be set to (and, for an inquiry CPU type, one the board can be told). Otherwise
// why not, naming the file, section and value the rate came from, or its missing option.
std::optional<std::string> BaudRateProblem(const JobSettings& settings, const CliOptions& options);

}  // namespace vantrel::cli
