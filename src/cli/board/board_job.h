#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/board/console_output.h"
#include "cli/entry/cli_options.h"
#include "cli/records/event_stream.h"
#include "cli/records/job_report.h"
#include "cli/records/trace_log.h"
#include "core/job_events.h"
#include "objfile/program_image.h"
#include "platform/clock.h"
#include "platform/serial_device.h"

namespace vantrel::cli {

// One board of a run: its port, its place on the console, where its CPU report goes.
struct BoardSetup {
  const CliOptions& options;
  std::string port;
  std::size_t index = 0;
  std::string cpuInfoFileName;
  ConsoleOutput& console;
  TraceLog* trace = nullptr;      // no trace when null
  bool labelTrace = false;        // trace lines name the port
  EventStream* events = nullptr;  // no event stream when null
};

// Runs one programming job on one board, as the window's Program button would, until it ends;
// Ctrl-C aborts it. Shares nothing writable with the jobs on other boards.
BoardRecord RunBoardJob(const BoardSetup& setup);
// The same on the given clock and serial device instead of the system's.
BoardRecord RunBoardJob(const BoardSetup& setup, platform::Clock& clock,
                        std::unique_ptr<platform::SerialDevice> device);

// How a job ended, in the words of the summary and the report.
struct JobOutcome {
  int exitCode = 1;
  std::string result;  // verified, written, verify-failed, failed, aborted
  bool aborted = false;
};

// An interrupt that came once the job had written (and verified) everything changes nothing:
// the job's own result stands.
JobOutcome DecideOutcome(JobResultCode jobResult, bool interrupted, bool verify);

// CpuInf.txt for a single board; CpuInf-<port>.txt, one distinct name per port, for several.
std::vector<std::string> CpuInfoFileNames(const std::vector<std::string>& ports);

// SHA-256 of the marked blocks of the image, in address order, as block writing sends them.
std::string WrittenDataSha256(const ProgramImage& image, std::uint16_t blockSize);

}  // namespace vantrel::cli
