#pragma once

#include <QApplication>

#include "app/window_host.h"

namespace vantrel::qt {

// The window's application object: an exception that escapes an event handler ends the program
// as one at start-up does, with the standard message and exit code 1, instead of unwinding
// through the event loop.
class Application final : public QApplication {
 public:
  Application(int& argc, char** argv) : QApplication(argc, argv) {}

  // Who shows that message; without one the exception goes on.
  void SetHost(WindowHost* host) { host_ = host; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  WindowHost* host_ = nullptr;
};

}  // namespace vantrel::qt
