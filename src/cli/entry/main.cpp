#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/entry/cli_options.h"
#include "cli/entry/cli_runner.h"
#include "cli/entry/folders_text.h"
#include "config/path_rules.h"
#include "platform/command_line.h"
#include "platform/executable_path.h"

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
  if (options->help || options->version) {
    const std::string exe = vantrel::platform::ExecutablePath();
    const auto where = vantrel::FindFileLocations(exe);
    const std::string text = options->help ? CliHelpText() + "\n" : CliVersionText();
    std::fputs((text + FoldersText(where, vantrel::FolderPart(exe))).c_str(), stdout);
    return 0;
  }
  return RunCli(*options);
}
