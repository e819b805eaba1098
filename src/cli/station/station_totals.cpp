#include "cli/station/station_totals.h"

#include "core/format.h"

namespace vantrel::cli {

std::string StationTotals::Count(const BoardRecord& r) {
  ++(r.exitCode == 0 ? passed_ : failed_);
  std::string result = r.result;
  if (!r.verifyFailure.empty()) result += " (" + r.verifyFailure + ")";
  std::string line = Format("board %u  %s  ", passed_ + failed_, result.c_str());
  if (r.serialNumber) {
    line += Format("serial %llu  ", static_cast<unsigned long long>(*r.serialNumber));
  }
  return line + Totals();
}

std::string StationTotals::Final() {
  const unsigned boards = passed_ + failed_;
  return Format("stopped after %u board%s  ", boards, boards == 1 ? "" : "s") + Totals();
}

double StationTotals::PerHour() {
  const std::uint32_t now = clock_.NowMs();
  elapsedMs_ += static_cast<std::uint32_t>(now - lastMs_);
  lastMs_ = now;
  const double stationSeconds = static_cast<double>(elapsedMs_) / 1000.0;
  // Boards per hour since the station started, the waits for the next board included.
  return stationSeconds > 0 ? (passed_ + failed_) * 3600.0 / stationSeconds : 0;
}

std::string StationTotals::Totals() {
  const double perHour = PerHour();
  return Format("passed %u  failed %u  %.1f boards/h", passed_, failed_, perHour);
}

std::string StationTotals::Json() {
  const double perHour = PerHour();
  const unsigned boards = passed_ + failed_;
  const std::string yield = boards == 0 ? "null" : Format("%.1f", passed_ * 100.0 / boards);
  return Format("{\"passed\": %u, \"failed\": %u, \"yield\": %s, \"boardsPerHour\": %.1f}", passed_,
                failed_, yield.c_str(), perHour);
}

}  // namespace vantrel::cli
