#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/board/board_job.h"
#include "cli/board/console_output.h"
#include "simulator/in_process_device.h"
#include "simulator/program_options.h"
#include "simulator/target_model.h"
#include "support/fake_clock.h"

namespace vantrel::testing {

// vantrel-cli's job for one board, run in this process against the simulated target on a fake
// clock: a time-out costs no time, and what the job says and does stays the same.
class SimulatedBoard {
 public:
  // The target vantrel-target would be with these options; the error when they are refused.
  static std::unique_ptr<SimulatedBoard> Make(const std::vector<std::string>& targetArgs,
                                              std::string& error) {
    const std::vector<std::string_view> args(targetArgs.begin(), targetArgs.end());
    auto parsed = simulator::ParseProgramOptions(args);
    if (!parsed.options) {
      error = parsed.error;
      return nullptr;
    }
    return std::unique_ptr<SimulatedBoard>(new SimulatedBoard(std::move(parsed.options->target)));
  }

  // Runs the job; its console lines are kept in `console`, the fake time it took in `ms`.
  cli::BoardRecord Run(const cli::CliOptions& options) {
    std::FILE* out = std::tmpfile();
    cli::BoardRecord record;
    {
      cli::ConsoleOutput lines(out, false, {});
      const cli::BoardSetup setup{options, "sim", 0, "CpuInf.txt", lines};
      const std::uint32_t start = clock.NowMs();
      record = cli::RunBoardJob(setup, clock,
                                std::make_unique<simulator::InProcessDevice>(model, clock));
      ms = clock.NowMs() - start;
      lines.Finish();
    }
    std::rewind(out);
    console.clear();
    for (int c = std::fgetc(out); c != EOF; c = std::fgetc(out)) console += static_cast<char>(c);
    std::fclose(out);
    return record;
  }

  FakeClock clock{5000};
  simulator::TargetModel model;
  std::string console;
  std::uint32_t ms = 0;

 private:
  explicit SimulatedBoard(simulator::TargetOptions options) : model(std::move(options)) {}
};

}  // namespace vantrel::testing
