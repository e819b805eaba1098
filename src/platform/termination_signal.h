#pragma once

namespace vantrel::platform {

// A file descriptor that becomes readable when the process is asked to end (SIGTERM, SIGINT,
// SIGHUP), so that an event loop can close its window the way the close box does. -1 when the
// pipe could not be made. Installed once; later calls return the same descriptor.
int TerminationSignalDescriptor();

// Empties that descriptor once the request has been seen.
void DrainTerminationSignal();

}  // namespace vantrel::platform
