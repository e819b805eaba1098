#pragma once

#include "core/shared_timeout.h"
#include "core/window_display.h"

namespace vantrel {

class CommCtrl;  // serial/comm_ctrl.h

// What a step operation reaches outside itself: the port, the one shared time-out and the
// window's display conventions. The operation's own data comes through its constructor.
struct StepContext {
  CommCtrl& port;
  SharedTimeout& timeout;
  WindowDisplay& display;
};

}  // namespace vantrel
