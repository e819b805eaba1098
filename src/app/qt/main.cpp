#include <cstdio>
#include <memory>

#include "app/qt/application.h"
#include "app/qt/command_listener.h"
#include "app/qt/fonts.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_host.h"
#include "app/second_start.h"
#include "app/unexpected_exception.h"
#include "platform/clock.h"
#include "platform/executable_path.h"
#include "platform/single_instance.h"
#include "platform/termination_signal.h"

namespace {

constexpr const char* kInstanceName = "vtl_app";

bool HandOver(std::string_view commandText) {
  return vantrel::platform::ForwardToFirstCopy(kInstanceName, commandText,
                                               vantrel::kFirstCopyWaitMs);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vantrel;
  // The layout is in pixels of a 96-dpi screen.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // Before anything else, so that an early request to end is not lost.
  platform::TerminationSignalDescriptor();
  qt::Application app(argc, argv);
  QApplication::setApplicationName("vtl");
  qt::InstallFontSubstitutes();
  DesktopHost host(qt::kToolkit);
  app.SetHost(&host);
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  try {
    std::unique_ptr<platform::FirstCopy> first;
    switch (platform::FirstCopy::Take(kInstanceName, first)) {
      case platform::FirstCopy::Claim::AnotherRuns:
        return SecondStart(host, JoinCommandText(arguments), HandOver);
      case platform::FirstCopy::Claim::Unavailable:
        std::fputs("vantrel: no private runtime folder; later starts cannot reach this copy\n",
                   stderr);
        break;
      case platform::FirstCopy::Claim::First:
        break;
    }
    platform::MonotonicClock clock;
    TForm1 form(host, clock);
    qt::MainWindow window(form, clock);
    host.AttachWindow(&window);
    std::string exe = platform::ExecutablePath();
    form.Initialise(exe.empty() ? argv[0] : exe, arguments);
    window.SyncFromModels();
    std::unique_ptr<qt::CommandListener> listener;
    if (first) {
      listener = std::make_unique<qt::CommandListener>(
          std::move(first), [&](std::string_view bytes) { window.CommandForwarded(bytes); });
    }
    window.show();
    return QApplication::exec();
  } catch (...) {
    host.AttachWindow(nullptr);  // gone with the unwinding
    EndOnUnexpectedException(host);
  }
}
