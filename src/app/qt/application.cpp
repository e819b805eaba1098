#include "app/qt/application.h"

#include "app/unexpected_exception.h"

namespace vantrel::qt {

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    if (host_ == nullptr) throw;
    EndOnUnexpectedException(*host_);
  }
}

}  // namespace vantrel::qt
