#include <cstdio>
#include <string_view>
#include <vector>

#include "simulator/program_options.h"
#include "simulator/pty_target.h"

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  const auto parsed = vantrel::simulator::ParseProgramOptions(args);
  if (!parsed.options) {
    std::fprintf(stderr, "vantrel-target: %s (see --help)\n", parsed.error.c_str());
    return 64;
  }
  if (parsed.options->help) {
    std::fputs(vantrel::simulator::ProgramHelp().c_str(), stdout);
    return 0;
  }
  if (parsed.options->version) {
    std::printf("vantrel-target %s\n", VANTREL_VERSION);
    return 0;
  }
  return vantrel::simulator::RunPtyTarget(*parsed.options, stdout, stderr);
}
