#include "cli/entry/cli_runner.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "cli/entry/port_listing.h"
#include "cli/program/board_programs.h"
#include "cli/records/board_log.h"
#include "cli/records/event_stream.h"
#include "cli/records/trace_log.h"
#include "cli/station/board_round.h"
#include "cli/station/station.h"
#include "cli/view/view_server.h"
#include "config/path_rules.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/file_access.h"
#include "platform/interrupt_flag.h"
#include "platform/port_list.h"

namespace vantrel::cli {
namespace {

// The report file is written after the jobs, by a new file renamed over it: a folder that is
// not there, or that the user may not write to, must be found before them.
std::optional<std::string> ReportUnwritable(const std::string& path) {
  // Standard output, a terminal or a pipe is written as it is.
  if (path == "-" || platform::IsStream(path)) return std::nullopt;
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
  std::unique_ptr<BoardLog> log;
  if (!options.log.empty()) {
    std::string error;
    log = BoardLog::Open(options.log, error);
    if (!log) {
      std::fprintf(stderr, "vantrel-cli: %s\n", error.c_str());
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
  // Before the events that feed it, and before any board: a port in use ends the run unstarted.
  std::unique_ptr<ViewServer> view;
  if (options.view) {
    view = std::make_unique<ViewServer>();
    const std::string error = view->Start(options.view->address, options.view->port);
    if (!error.empty()) {
      std::fprintf(stderr, "vantrel-cli: --view %s\n", error.c_str());
      return kExitUsage;
    }
  }
  std::unique_ptr<EventStream> events;
  if (!options.events.empty()) {
    std::string error;
    events = EventStream::Open(options.events, error);
    if (!events) {
      std::fprintf(stderr, "vantrel-cli: %s\n", error.c_str());
      return kExitUsage;
    }
#ifdef SIGPIPE
    // A reader of the stream that goes away must not end a job halfway: its lines are lost.
    std::signal(SIGPIPE, SIG_IGN);
#endif
  }
  if (view) {
    if (!events) events = EventStream::Unwritten();
    events->Tap([&view](std::string_view line) { view->Publish(line); });
    const std::string& address = options.view->address;
    const bool v6 = address.find(':') != std::string::npos;
    std::fprintf(stderr, "vantrel-cli: the station's page: http://%s%s%s:%d/\n", v6 ? "[" : "",
                 address.c_str(), v6 ? "]" : "", view->Port());
  }
  platform::InstallInterruptFlag();

  RoundSetup round{options};
  // A job file may name the one port itself.
  round.ports = options.ports.empty() ? std::vector<std::string>{std::string()} : options.ports;
  // Progress lines redrawn in place would garble a trace written to the same terminal.
  round.terminal = platform::PrepareConsole() && options.trace != "-";
  round.trace = trace.get();
  round.log = log.get();
  round.events = events.get();
  // The numbers go on from round to round, and from run to run with a serial file.
  SerialNumbers numbers = SerialNumbersOf(options);
  round.numbers = &numbers;
  platform::MonotonicClock clock;
  const int code = options.repeat ? RunStation(round, clock) : RunRound(round).exitCode;
  if (trace && !trace->Error().empty()) {
    std::fprintf(stderr, "vantrel-cli: the trace %s lacks lines: %s\n", options.trace.c_str(),
                 trace->Error().c_str());
  }
  if (events && !events->Error().empty()) {
    std::fprintf(stderr, "vantrel-cli: the event stream %s lacks lines: %s\n",
                 options.events.c_str(), events->Error().c_str());
  }
  return code;
}

}  // namespace vantrel::cli
