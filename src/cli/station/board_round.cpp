#include "cli/station/board_round.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <thread>

#include "cli/board/board_job.h"
#include "cli/board/console_output.h"
#include "cli/program/board_programs.h"
#include "cli/station/gang_summary.h"
#include "platform/console.h"

namespace vantrel::cli {
namespace {

// A job that throws has its port closed by the unwinding, and fails alone.
BoardRecord RunBoardJobGuarded(const BoardSetup& setup) {
  try {
    return RunBoardJob(setup);
  } catch (const std::exception& e) {
    BoardRecord failed;
    failed.port = setup.port;
    failed.result = "failed";
    failed.message = e.what();
    setup.console.Line(setup.index, "vantrel-cli: " + failed.message);
    return failed;
  }
}

}  // namespace

RoundResult RunRound(const RoundSetup& s) {
  const std::vector<std::string>& ports = s.ports;
  // The erase comes before the program is read: a file that cannot be written must stop the job
  // before a board loses its old program.
  BoardPrograms programs;
  if (const auto refused = programs.Prepare(s.options, ports, *s.numbers)) return {{}, *refused};
  const bool gang = ports.size() > 1;
  ConsoleOutput console(stderr, s.terminal, gang ? ports : std::vector<std::string>());
  const std::vector<std::string> cpuInfoNames = CpuInfoFileNames(ports);
  std::vector<BoardRecord> records(ports.size());
  std::vector<char> logged(ports.size(), 1);
  // The station's view learns each board's serial number before its job says anything.
  for (std::size_t i = 0; i < ports.size() && s.events; ++i) {
    if (ports[i].empty()) continue;
    const auto& number = programs.board(i).serialNumber;
    s.events->Aside(EventStream::Object(
        i, ports[i], "board",
        "\"serial\": " + (number ? JsonString(std::to_string(*number)) : std::string("null"))));
  }
  auto run = [&](std::size_t i) {
    records[i] = RunBoardJobGuarded(BoardSetup{programs.board(i).options, ports[i], i,
                                               cpuInfoNames[i], console, s.trace, gang, s.events});
    programs.board(i).Describe(records[i]);
    // A job that could not even be set up touched no board: there is nothing to log.
    if (s.log == nullptr || records[i].exitCode == kExitUsage) return;
    logged[i] = s.log->Add(records[i]);
    if (!logged[i]) console.Line(i, "vantrel-cli: cannot append the board's line to the log");
  };
  if (!gang) {
    run(0);
  } else {
    // A thread per board: a wait or a slow write of one job never holds up another's ticks.
    std::vector<std::thread> boards;
    for (std::size_t i = 0; i < ports.size(); ++i) boards.emplace_back(run, i);
    for (auto& board : boards) board.join();
  }
  console.Finish();
  // An incomplete job is the same on every board: said once, before anything ran.
  if (std::all_of(records.begin(), records.end(),
                  [](const BoardRecord& r) { return r.exitCode == kExitUsage; })) {
    std::fprintf(stderr, "vantrel-cli: %s (see --help)\n", records[0].message.c_str());
    return {{}, kExitUsage};
  }
  int code = gang ? GangExitCode(records) : records[0].exitCode;
  // Standard output may be the report's or the event stream's alone.
  if (gang) {
    std::FILE* out = s.options.report == "-" || s.options.events == "-" ? stderr : stdout;
    const auto columns = platform::TerminalColumns(out == stdout ? platform::StandardStream::Output
                                                                 : platform::StandardStream::Error);
    std::fputs(FormatGangSummary(records, static_cast<std::size_t>(std::max(columns, 0))).c_str(),
               out);
  }
  // A production line that keeps a record of its boards cannot count one without it as done.
  if (code == 0 && std::find(logged.begin(), logged.end(), 0) != logged.end()) code = 1;
  if (!s.options.report.empty()) {
    std::string error;
    if (!WriteJobReport(s.options.report, records, error)) {
      std::fprintf(stderr, "vantrel-cli: %s\n", error.c_str());
      if (code == 0) code = 1;
    }
  }
  return {std::move(records), code};
}

}  // namespace vantrel::cli
