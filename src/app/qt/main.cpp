#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "app/qt/command_listener.h"
#include "app/qt/fonts.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_host.h"
#include "platform/clock.h"
#include "platform/executable_path.h"
#include "platform/single_instance.h"
#include "platform/termination_signal.h"

namespace {

constexpr const char* kInstanceName = "vtl_app";
// How long a later copy waits for a first copy that is still starting to listen.
constexpr std::uint32_t kListenWaitMs = 10000;

// A later copy hands its command line to the first one and ends.
int ForwardToFirstCopy(const std::string& commandText) {
  if (commandText.empty()) {
    vantrel::qt::QtHost host;
    host.Beep();
    host.ShowMessageBox("\u3000VTL は２重起動禁止です！\u3000");
    return 0;
  }
  if (vantrel::platform::ForwardToFirstCopy(kInstanceName, commandText, kListenWaitMs)) return 0;
  std::fprintf(stderr, "vantrel: the running copy did not take the command line \"%s\"\n",
               commandText.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // The layout is in pixels of a 96-dpi screen.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // Before anything else, so that an early request to end is not lost.
  vantrel::platform::TerminationSignalDescriptor();
  QApplication app(argc, argv);
  QApplication::setApplicationName("vtl");
  vantrel::qt::InstallFontSubstitutes();
  const std::vector<std::string> arguments(argv + 1, argv + argc);

  std::unique_ptr<vantrel::platform::FirstCopy> first;
  switch (vantrel::platform::FirstCopy::Take(kInstanceName, first)) {
    case vantrel::platform::FirstCopy::Claim::AnotherRuns:
      return ForwardToFirstCopy(vantrel::JoinCommandText(arguments));
    case vantrel::platform::FirstCopy::Claim::Unavailable:
      std::fputs("vantrel: no private runtime folder; later starts cannot reach this copy\n",
                 stderr);
      break;
    case vantrel::platform::FirstCopy::Claim::First:
      break;
  }
  try {
    vantrel::qt::QtHost host;
    vantrel::platform::MonotonicClock clock;
    vantrel::TForm1 form(host, clock);
    vantrel::qt::MainWindow window(form, clock);
    host.AttachWindow(&window);
    std::string exe = vantrel::platform::ExecutablePath();
    if (exe.empty()) exe = argv[0];
    form.Initialise(exe, arguments);
    window.SyncFromModels();
    std::unique_ptr<vantrel::qt::CommandListener> listener;
    if (first) {
      listener = std::make_unique<vantrel::qt::CommandListener>(
          std::move(first), [&](std::string_view bytes) { window.CommandForwarded(bytes); });
    }
    window.show();
    return QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, "vtl", QString::fromUtf8(e.what()));
  }
  return 0;
}
