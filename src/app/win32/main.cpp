#include <windows.h>

#include <string>
#include <vector>

#include "app/second_start.h"
#include "app/unexpected_exception.h"
#include "app/win32/main_window.h"
#include "app/win32/win32_host.h"
#include "platform/clock.h"
#include "platform/command_line.h"
#include "platform/executable_path.h"
#include "platform/single_instance_win32.h"

namespace {

bool HandOver(std::string_view commandText) {
  return vantrel::platform::SendToFirstCopy(vantrel::kWindowCaption, commandText,
                                            vantrel::kFirstCopyWaitMs);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace vantrel;
  const std::vector<std::string> arguments = platform::CommandLineArguments(__argc, __argv);
  DesktopHost host(win32::kToolkit);
  try {
    if (platform::ClaimNamedMutex("vtl_app") == platform::MutexClaim::AnotherRuns) {
      return SecondStart(host, JoinCommandText(arguments), HandOver);
    }
    platform::MonotonicClock clock;
    TForm1 form(host, clock);
    win32::MainWindow window(form, host, clock);
    host.AttachWindow(&window);
    form.Initialise(platform::ExecutablePath(), arguments);
    window.Show();
    return window.Run();
  } catch (...) {
    host.AttachWindow(nullptr);  // gone with the unwinding
    EndOnUnexpectedException(host);
  }
}
