#pragma once

#include "core/job_events.h"
#include "core/job_inputs.h"
#include "core/shared_timeout.h"

namespace vantrel {

class CommCtrl;  // serial/comm_ctrl.h

// What a step operation reaches outside itself: the port, the one shared time-out, what the job
// reads from whoever runs it and what it tells them. The operation's own data comes through its
// constructor.
struct StepContext {
  CommCtrl& port;
  SharedTimeout& timeout;
  JobInputs& inputs;
  JobEvents& events;
};

}  // namespace vantrel
