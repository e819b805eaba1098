#pragma once

#include <string>

#include "cli/job_report.h"

namespace vantrel::cli {

// The running counts of a station, for the line printed after each board.
class StationTotals {
 public:
  // Counts the board and gives its line: its number at the station, its result, its serial
  // number when it has one, and the totals with it counted.
  std::string Count(const BoardRecord& record, double stationSeconds);
  // The line when the station stops.
  std::string Final(double stationSeconds) const;

 private:
  std::string Totals(double stationSeconds) const;

  unsigned passed_ = 0;
  unsigned failed_ = 0;
};

}  // namespace vantrel::cli
