#include "cli/gang_summary.h"

#include <algorithm>
#include <cstdio>

namespace vantrel::cli {

std::string FormatGangSummary(std::span<const BoardRecord> records) {
  std::size_t width = 4;
  for (const auto& r : records) width = std::max(width, r.port.size());
  char line[512];
  std::snprintf(line, sizeof line, "%-*s  %-13s  %8s  %10s\n", static_cast<int>(width), "port",
                "result", "time", "bytes");
  std::string out = line;
  for (const auto& r : records) {
    std::snprintf(line, sizeof line, "%-*s  %-13s  %6.1f s  %10llu\n", static_cast<int>(width),
                  r.port.c_str(), r.result.c_str(), r.seconds,
                  static_cast<unsigned long long>(r.bytesSent + r.bytesReceived));
    out += line;
  }
  return out;
}

int GangExitCode(std::span<const BoardRecord> records) {
  int code = 0;
  for (const auto& r : records) {
    if (r.exitCode == 2) return 2;
    if (r.exitCode != 0) code = 1;
  }
  return code;
}

}  // namespace vantrel::cli
