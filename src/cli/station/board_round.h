#pragma once

#include <string>
#include <vector>

#include "cli/entry/cli_options.h"
#include "cli/program/serial_numbers.h"
#include "cli/records/board_log.h"
#include "cli/records/event_stream.h"
#include "cli/records/job_report.h"
#include "cli/records/trace_log.h"

namespace vantrel::cli {

// What every round of a run shares.
struct RoundSetup {
  const CliOptions& options;
  std::vector<std::string> ports;    // one board on each; "" for the port a job file names
  bool terminal = false;             // standard error redraws progress lines in place
  TraceLog* trace = nullptr;         // no trace when null
  BoardLog* log = nullptr;           // no log when null
  EventStream* events = nullptr;     // no event stream when null
  SerialNumbers* numbers = nullptr;  // what each round's boards are numbered from
};

struct RoundResult {
  std::vector<BoardRecord> records;  // empty when no board was touched
  int exitCode = 0;
};

// One job on every port at once, each as the window's Program button would run it, then the
// summary and the report. The program files are read again and the boards numbered anew for each
// round; a program that cannot be read touches no board.
RoundResult RunRound(const RoundSetup& setup);

}  // namespace vantrel::cli
