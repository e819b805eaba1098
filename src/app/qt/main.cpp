#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <exception>

#include "app/qt/fonts.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_host.h"
#include "platform/clock.h"
#include "platform/executable_path.h"
#include "platform/termination_signal.h"

int main(int argc, char** argv) {
  // The layout is in pixels of a 96-dpi screen.
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  // Before anything else, so that an early request to end is not lost.
  vantrel::platform::TerminationSignalDescriptor();
  QApplication app(argc, argv);
  QApplication::setApplicationName("vtl");
  vantrel::qt::InstallFontSubstitutes();
  try {
    vantrel::qt::QtHost host;
    vantrel::platform::MonotonicClock clock;
    vantrel::TForm1 form(host, clock);
    vantrel::qt::MainWindow window(form);
    host.AttachWindow(&window);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string exe = vantrel::platform::ExecutablePath();
    if (exe.empty()) exe = argv[0];
    form.Initialise(exe, arguments);
    window.SyncFromModels();
    window.show();
    return QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, "vtl", QString::fromUtf8(e.what()));
  }
  return 0;
}
