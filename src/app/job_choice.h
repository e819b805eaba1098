#pragma once

#include <optional>
#include <string>

namespace vantrel {

// A job as a front without widgets names it. What it leaves empty keeps what the window holds.
struct JobChoice {
  // An AutoPgm.ini to start from; its keys that only a window has a use for do nothing.
  std::optional<std::string> jobFile;
  std::string port;
  std::string cpuType;
  std::string userProgram;  // a full path
  std::optional<std::string> baudBoot;
  std::optional<std::string> baudProg;
  bool verify = false;
};

// What a job still lacks once the choices are made.
enum class MissingChoice { None, Port, CpuType, UserProgram };

}  // namespace vantrel
