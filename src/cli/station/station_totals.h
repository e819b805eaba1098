#pragma once

#include <cstdint>
#include <string>

#include "cli/records/job_report.h"
#include "platform/clock.h"

namespace vantrel::cli {

// The running counts of a station, for the line printed after each board, and its time since it
// started on the clock the board jobs run on.
class StationTotals {
 public:
  explicit StationTotals(platform::Clock& clock) : clock_(clock), lastMs_(clock.NowMs()) {}

  // Counts the board and gives its line: its number at the station, its result, its serial
  // number when it has one, and the totals with it counted.
  std::string Count(const BoardRecord& record);
  // The line when the station stops.
  std::string Final();
  // The totals for the station's view: {"passed": P, "failed": F, "yield": percent or null,
  // "boardsPerHour": R}.
  std::string Json();

 private:
  std::string Totals();
  double PerHour();

  platform::Clock& clock_;
  // The count wraps every 49 days; a station runs longer, so the time is summed at every line.
  std::uint32_t lastMs_;
  std::uint64_t elapsedMs_ = 0;
  unsigned passed_ = 0;
  unsigned failed_ = 0;
};

}  // namespace vantrel::cli
