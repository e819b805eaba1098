#pragma once

namespace vantrel::qt {

// The window asks for its fonts by their Windows names; these map them to metric-compatible
// faces that a Linux desktop has, without any system configuration.
void InstallFontSubstitutes();

}  // namespace vantrel::qt
