#include "cli/station/station.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/records/job_report.h"
#include "cli/station/gang_summary.h"
#include "cli/station/next_board.h"
#include "cli/station/station_totals.h"
#include "platform/enter_key.h"
#include "platform/interrupt_flag.h"

namespace vantrel::cli {
namespace {

// The station's object for its view: the CPU type, the files the boards get with their SHA-256
// (the write-control file first), and the totals. Before the first board only the names.
std::string StationObject(const CliOptions& o, const BoardRecord* board,
                          const std::string& totals) {
  std::string files;
  auto add = [&](const std::string& path, const std::string& sha256) {
    files += std::string(files.empty() ? "" : ", ") + "{\"path\": " + JsonString(path) +
             ", \"sha256\": " + (sha256.empty() ? std::string("null") : JsonString(sha256)) + "}";
  };
  if (board) {
    if (!board->controlFile.path.empty()) add(board->controlFile.path, board->controlFile.sha256);
    for (const auto& input : board->inputs) add(input.path, input.sha256);
  } else {
    for (const auto& file : o.files) add(file, "");
  }
  const std::string cpu = board && !board->cpuType.empty() ? board->cpuType : o.cpu;
  return "{\"kind\": \"station\", \"cpuType\": " + JsonString(cpu) + ", \"files\": [" + files +
         "], \"totals\": " + totals + "}";
}

}  // namespace

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
  auto view = [&](const BoardRecord* board) {
    if (setup.events) setup.events->Aside(StationObject(setup.options, board, totals.Json()));
  };
  view(nullptr);
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
    view(&round.records.front());
    next = !platform::InterruptRequested() && WaitForNextBoard(ports, key);
  }
  std::fprintf(out, "%s\n", totals.Final().c_str());
  std::fflush(out);
  return code;
}

}  // namespace vantrel::cli
