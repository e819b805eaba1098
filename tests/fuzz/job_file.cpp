// A --job file (@AUTO_PGM/job.ini) as vantrel-cli sets a job up from it, with its CPU type's
// Baud.ini (the input after a NUL byte) applied and its baud rates checked.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/board/prepare_job.h"
#include "cli/entry/baud_rate_check.h"
#include "support/sample_control_folder.h"
#include "support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel;
  static const testing::TempFolder home;
  testing::WriteSampleControlFolder(home, 24);
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  home.Write("@AUTO_PGM/job.ini", input.substr(0, nul));
  if (nul != std::string::npos) home.Write("CTRL_MOT/Baud.ini", input.substr(nul + 1));

  const cli::CliOptions options{.home = home.path(), .job = "job.ini"};
  cli::PreparedJob job;
  if (cli::PrepareJob(options, std::string(), job)) return 0;
  const auto problem = cli::BaudRateProblem(job.settings, options);
  if (problem && problem->empty()) __builtin_trap();
  return 0;
}
