// A command line as the window and vantrel-cli take it: arguments separated by NUL bytes. The
// window joins the first four and handles "-GO [file]" (reading the AutoPgm.ini it names, which
// may not exist); vantrel-cli parses its options.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/tform1.h"
#include "cli/entry/cli_options.h"
#include "config/auto_command.h"
#include "support/fake_clock.h"
#include "support/recording_host.h"
#include "support/scripted_device.h"
#include "support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel;
  static const testing::TempFolder home;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> args;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find('\0', at), text.size());
    args.push_back(text.substr(at, end - at));
    at = end + 1;
  }

  std::string error;
  const auto options = cli::ParseCliOptions(args, error);
  if (!options && error.empty()) __builtin_trap();  // a refusal always says why

  const std::string joined = JoinCommandText(std::vector<std::string>(args.begin(), args.end()));
  SkipBlanks(joined, 0);
  testing::FakeClock clock;
  testing::RecordingHost host;
  testing::ScriptedDevice::State line;
  TForm1 form(host, clock, std::make_unique<testing::ScriptedDevice>(line));
  form.fields.ExeFolder = home.path();
  try {
    form.HandleAutoCommand(joined);
    form.CommandForwarded(text);
  } catch (const testing::RecordingHost::ExitRequested&) {
  }
  return 0;
}
