#pragma once

namespace vantrel::platform {

// Ctrl-C and its kin set a flag instead of ending the process, so a running job can close its
// port and end as an abort. POSIX: SIGINT and SIGTERM, and a waiting poll returns early.
// Windows: Ctrl-C and Ctrl-Break through the console control handler.
void InstallInterruptFlag();
bool InterruptRequested();

}  // namespace vantrel::platform
