#include "cli/station/station.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/station/gang_summary.h"
#include "cli/station/next_board.h"
#include "cli/station/station_totals.h"
#include "platform/enter_key.h"
#include "platform/interrupt_flag.h"

namespace vantrel::cli {

int RunStation(const RoundSetup& setup, platform::Clock& clock) {
  const bool gang = setup.ports.size() > 1;
  if (const auto why = PortNeverThere(setup.ports)) {
    std::fprintf(stderr, "vantrel-cli: %s\n", why->c_str());
    return kExitUsage;
  }
  platform::EnterKey key;
  StationTotals totals(clock);
  int code = 0;
  // Standard output may be the event stream's alone.
  std::FILE* out = setup.options.events == "-" ? stderr : stdout;
  for (bool next = WaitForFirstBoard(setup.ports, key); next;) {
    RoundResult round = RunRound(setup);
    if (round.exitCode == kExitUsage) return kExitUsage;
    code = WorseExitCode(code, round.exitCode);
    // A program that cannot be read now will not be read by the next board either.
    if (round.records.empty()) break;
    std::vector<std::string> ports;
    for (std::size_t i = 0; i < round.records.size(); ++i) {
      const BoardRecord& r = round.records[i];
      const std::string line = totals.Count(r);
      std::fprintf(out, "%s%s\n", gang ? (r.port + ": ").c_str() : "", line.c_str());
      // A job file's port is known once its job has read it.
      ports.push_back(r.port.empty() ? setup.ports[i] : r.port);
    }
    std::fflush(out);
    next = !platform::InterruptRequested() && WaitForNextBoard(ports, key);
  }
  std::fprintf(out, "%s\n", totals.Final().c_str());
  std::fflush(out);
  return code;
}

}  // namespace vantrel::cli
