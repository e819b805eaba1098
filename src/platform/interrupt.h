#pragma once

namespace vantrel::platform {

// Ctrl-C and a termination request set a flag instead of ending the process, so that a job can
// be aborted the way the window's button aborts it. A wait on a port returns early when one comes.
void CatchInterrupts();
// Set once an interrupt came; stays set. Safe to ask from any thread.
bool InterruptRequested();

}  // namespace vantrel::platform
