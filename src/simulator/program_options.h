#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "simulator/target_options.h"

namespace vantrel::simulator {

enum class Protocol { Classic, Inquiry };

// What the vantrel-target command line asks for.
struct ProgramOptions {
  Protocol protocol = Protocol::Classic;
  TargetOptions target;    // with the loader factory set for the chosen protocol
  std::string dumpPath;    // empty: no dump
  std::string linkPath;    // empty: no link to the pseudo-terminal
  std::uint32_t jobs = 0;  // 0: serve jobs until stopped
  // After each job the board is unplugged and, this many ms later, a new one plugged in.
  std::optional<std::uint32_t> replugMs;
  int verbosity = 1;  // 0 quiet, 1 events, 2 every byte
  bool help = false;
  bool version = false;
};

struct ParsedOptions {
  std::optional<ProgramOptions> options;
  std::string error;  // one line, when options is empty
};

// Parses the arguments after the program name. Options take "--name value" or "--name=value".
ParsedOptions ParseProgramOptions(std::span<const std::string_view> args);

std::string ProgramHelp();

}  // namespace vantrel::simulator
