#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/program/serial_format.h"
#include "cli/view/view_address.h"
#include "job/tick_driver.h"

namespace vantrel::cli {

// Exit codes beyond the job's own 0, 1 and 2.
inline constexpr int kExitUsage = 64;
// Each byte of the merged image keeps the number of its file in one byte.
inline constexpr std::size_t kMostProgramFiles = 255;

struct CliOptions {
  std::string home;                // empty: FindFileLocations decides
  std::vector<std::string> ports;  // one board on each; more than one runs them side by side
  std::string cpu;
  std::optional<std::string> baudBoot;
  std::optional<std::string> baudProg;
  bool verify = false;
  bool cpuReport = false;  // acts as the Shift key held at the end of the inquiries
  bool help = false;
  bool version = false;
  bool listPorts = false;
  TickMode tickMode = TickMode::Fast;
  std::string trace;    // every byte on the line goes here; "-" is stderr; empty: no trace
  std::string report;   // the JSON record of every board goes here; empty: no report
  std::string log;      // one JSON line per board job is appended here; empty: no log
  std::string events;   // the JSON lines of every job event go here; "-" is stdout; empty: none
  bool repeat = false;  // board after board on the same ports, until Ctrl-C
  std::optional<ViewAddress> view;  // the station's page is served here; none when empty
  // The user program files, merged into one image; `file` is the one the job reads.
  std::vector<std::string> files;
  std::string file;
  std::optional<SerialOption> serial;
  std::string serialFile;          // keeps the next serial number; empty: none
  bool serialOverProgram = false;  // the number may replace bytes a program file supplies
  // --job: the AutoPgm.ini to take the job from ("" for the default one).
  std::optional<std::string> job;
};

// Parses the arguments after the program name. On a usage error returns nothing and sets the
// one-line reason.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string_view>& args,
                                          std::string& error);

std::string CliHelpText();
std::string CliVersionText();

}  // namespace vantrel::cli
