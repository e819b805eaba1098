#include "cli/station_totals.h"

#include "core/format.h"

namespace vantrel::cli {

std::string StationTotals::Count(const BoardRecord& r, double stationSeconds) {
  ++(r.exitCode == 0 ? passed_ : failed_);
  std::string result = r.result;
  if (!r.verifyFailure.empty()) result += " (" + r.verifyFailure + ")";
  std::string line = Format("board %u  %s  ", passed_ + failed_, result.c_str());
  if (r.serialNumber) {
    line += Format("serial %llu  ", static_cast<unsigned long long>(*r.serialNumber));
  }
  return line + Totals(stationSeconds);
}

std::string StationTotals::Final(double stationSeconds) const {
  const unsigned boards = passed_ + failed_;
  return Format("stopped after %u board%s  ", boards, boards == 1 ? "" : "s") +
         Totals(stationSeconds);
}

std::string StationTotals::Totals(double stationSeconds) const {
  // Boards per hour since the station started, the waits for the next board included.
  const double perHour = stationSeconds > 0 ? (passed_ + failed_) * 3600.0 / stationSeconds : 0;
  return Format("passed %u  failed %u  %.1f boards/h", passed_, failed_, perHour);
}

}  // namespace vantrel::cli
