#pragma once

#include <string>

#include "app/desktop_host.h"

namespace vantrel::win32 {

// The desktop services of the window, done with the Windows API.
extern const DesktopToolkit kToolkit;

// The dialog's entries as its filter: pairs of NUL-terminated texts, then a NUL.
std::wstring DialogFilter(const std::vector<DialogFilterEntry>& filter);

}  // namespace vantrel::win32
