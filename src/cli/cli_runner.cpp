#include "cli/cli_runner.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "app/tform1.h"
#include "cli/board_job.h"
#include "cli/board_programs.h"
#include "cli/console_output.h"
#include "cli/file_check.h"
#include "cli/gang_summary.h"
#include "cli/job_report.h"
#include "cli/port_listing.h"
#include "cli/prepare_job.h"
#include "cli/trace_log.h"
#include "config/path_rules.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_access.h"
#include "platform/interrupt_flag.h"
#include "platform/port_list.h"

namespace vantrel::cli {
namespace {

// The report is written after the jobs, by a new file renamed over it: a folder that is not
// there, or that the user may not write to, must be found before them.
std::optional<std::string> ReportUnwritable(const std::string& path) {
  const std::string absolute = platform::AbsolutePath(path);
  const std::string folder = FolderPart(absolute);
  if (folder.empty() || !platform::IsFolder(folder)) {
    return "the folder of the report " + path + " does not exist";
  }
  if (platform::IsFolder(absolute)) return "the report " + path + " is a folder";
  if (!platform::FolderWritable(folder)) {
    return "the report " + path + " cannot be written: the folder " + folder +
           " is not yours to write to";
  }
  return std::nullopt;
}

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

int RunCli(const CliOptions& options) {
  if (options.listPorts) {
    std::fputs(FormatPortList(platform::ListSerialPorts()).c_str(), stdout);
    return 0;
  }
  if (!options.report.empty()) {
    if (const auto why = ReportUnwritable(options.report)) {
      std::fprintf(stderr, "vantrel-cli: %s\n", why->c_str());
      return kExitUsage;
    }
  }
  std::unique_ptr<TraceLog> trace;
  if (!options.trace.empty()) {
    std::string error;
    trace = TraceLog::Open(options.trace, error);
    if (!trace) {
      std::fprintf(stderr, "vantrel-cli: %s\n", error.c_str());
      return kExitUsage;
    }
  }
  platform::InstallInterruptFlag();

  // A job file may name the one port itself.
  const std::vector<std::string> ports =
      options.ports.empty() ? std::vector<std::string>{std::string()} : options.ports;
  // The erase comes before the program is read: a file that cannot be written must stop the job
  // before a board loses its old program.
  SerialNumbers numbers = SerialNumbersOf(options);
  BoardPrograms programs;
  if (const auto refused = programs.Prepare(options, ports, numbers)) return *refused;
  const bool gang = ports.size() > 1;
  // Progress lines redrawn in place would garble a trace written to the same terminal.
  const bool terminal = platform::PrepareConsole() && options.trace != "-";
  ConsoleOutput console(stderr, terminal, gang ? ports : std::vector<std::string>());
  const std::vector<std::string> cpuInfoNames = CpuInfoFileNames(ports);
  std::vector<BoardRecord> records(ports.size());
  auto setup = [&](std::size_t i) {
    return BoardSetup{
        programs.board(i).options, ports[i], i, cpuInfoNames[i], console, trace.get(), gang};
  };
  if (!gang) {
    records[0] = RunBoardJobGuarded(setup(0));
  } else {
    // A thread per board: a wait or a slow write of one job never holds up another's ticks.
    std::vector<std::thread> boards;
    for (std::size_t i = 0; i < ports.size(); ++i) {
      boards.emplace_back([&, i] { records[i] = RunBoardJobGuarded(setup(i)); });
    }
    for (auto& board : boards) board.join();
  }
  console.Finish();
  for (std::size_t i = 0; i < records.size(); ++i) programs.board(i).Describe(records[i]);
  if (trace && !trace->Error().empty()) {
    std::fprintf(stderr, "vantrel-cli: the trace %s lacks lines: %s\n", options.trace.c_str(),
                 trace->Error().c_str());
  }
  // An incomplete job is the same on every board: said once, before anything ran.
  if (std::all_of(records.begin(), records.end(),
                  [](const BoardRecord& r) { return r.exitCode == kExitUsage; })) {
    std::fprintf(stderr, "vantrel-cli: %s (see --help)\n", records[0].message.c_str());
    return kExitUsage;
  }
  int code = gang ? GangExitCode(records) : records[0].exitCode;
  if (gang) std::fputs(FormatGangSummary(records).c_str(), stdout);
  if (!options.report.empty()) {
    std::string error;
    if (!WriteJobReport(options.report, records, error)) {
      std::fprintf(stderr, "vantrel-cli: %s\n", error.c_str());
      // A production line that keeps the report cannot count a board without one as done.
      if (code == 0) code = 1;
    }
  }
  return code;
}

}  // namespace vantrel::cli
