#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_runner.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
  using namespace vantrel::cli;
  const std::vector<std::string> utf8Args = vantrel::platform::CommandLineArguments(argc, argv);
  std::vector<std::string_view> args(utf8Args.begin(), utf8Args.end());
  std::string error;
  const auto options = ParseCliOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "vantrel-cli: %s (see --help)\n", error.c_str());
    return kExitUsage;
  }
  if (options->help) {
    std::fputs(CliHelpText().c_str(), stdout);
    return 0;
  }
  if (options->version) {
    std::fputs(CliVersionText().c_str(), stdout);
    return 0;
  }
  return RunCli(*options);
}
