#pragma once

#include <span>
#include <string>

#include "cli/records/job_report.h"

namespace vantrel::cli {

// The table printed after several boards: port, result, time, bytes on the line; its closing
// note within `columns` columns (0: not known, taken as 80) without touching the last one.
std::string FormatGangSummary(std::span<const BoardRecord> records, std::size_t columns = 0);

// The worse of two exit codes: a verification that found a wrong byte (2) outweighs a job that
// failed or was aborted (1), which outweighs success (0); any other code outweighs them all.
int WorseExitCode(int a, int b);

// 0 when every board succeeded, else 2 when any verification failed, else 1.
int GangExitCode(std::span<const BoardRecord> records);

}  // namespace vantrel::cli
