#include "cli/station/gang_summary.h"

#include <algorithm>
#include <cstdio>

#include "cli/entry/text_columns.h"
#include "core/format.h"

namespace vantrel::cli {
namespace {

// Why a board did not pass, in a few words: its last message, and where a verification found
// the first wrong byte.
std::string Reason(const BoardRecord& r) {
  if (r.exitCode == 0) return {};
  std::string reason = r.message;
  // The box of a read that failed on the line does not say how.
  if (!r.verifyFailure.empty() && r.verifyFailure != "mismatch") {
    reason += " (" + r.verifyFailure + ")";
  }
  if (r.firstDifference) {
    reason += Format(" (first difference at 0x%08X)", static_cast<unsigned>(*r.firstDifference));
  }
  return reason;
}

}  // namespace

std::string FormatGangSummary(std::span<const BoardRecord> records, std::size_t columns) {
  std::size_t width = 4;
  for (const auto& r : records) width = std::max(width, r.port.size());
  char line[512];
  std::snprintf(line, sizeof line, "%-*s  %-13s  %8s  %10s  %s\n", static_cast<int>(width), "port",
                "result", "time", "line bytes", "why it failed");
  std::string out = line;
  for (const auto& r : records) {
    std::snprintf(line, sizeof line, "%-*s  %-13s  %6.1f s  %10llu  ", static_cast<int>(width),
                  r.port.c_str(), r.result.c_str(), r.seconds,
                  static_cast<unsigned long long>(r.bytesSent + r.bytesReceived));
    std::string row = line + Reason(r);
    while (row.ends_with(' ')) row.pop_back();
    out += row + "\n";
  }
  return out + WrapToColumns(
                   "(time: the board's job from start to end; line bytes: bytes sent "
                   "to the board and received from it)",
                   (columns == 0 ? 80 : columns) - 1);
}

int WorseExitCode(int a, int b) {
  auto rank = [](int code) { return code >= 0 && code <= 2 ? code : 3; };
  return rank(a) >= rank(b) ? a : b;
}

int GangExitCode(std::span<const BoardRecord> records) {
  int code = 0;
  for (const auto& r : records) {
    // A job that did not pass counts as failed, whatever other code it gave.
    code = WorseExitCode(code, r.exitCode == 0 || r.exitCode == 2 ? r.exitCode : 1);
  }
  return code;
}

}  // namespace vantrel::cli
