#pragma once

#include <QStringList>

#include "app/desktop_host.h"

namespace vantrel::qt {

// The desktop services of the window, done with Qt.
extern const DesktopToolkit kToolkit;

// The dialog's entries as Qt's name filters, "description (pattern pattern)".
QStringList NameFiltersOf(const std::vector<DialogFilterEntry>& filter);

}  // namespace vantrel::qt
