#pragma once

#include <span>
#include <string>

#include "cli/job_report.h"

namespace vantrel::cli {

// The table printed after several boards: port, result, time, bytes on the line.
std::string FormatGangSummary(std::span<const BoardRecord> records);

// 0 when every board succeeded, else 2 when any verification failed, else 1.
int GangExitCode(std::span<const BoardRecord> records);

}  // namespace vantrel::cli
