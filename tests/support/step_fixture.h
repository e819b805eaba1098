#pragma once

#include <memory>

#include "core/shared_timeout.h"
#include "core/step.h"
#include "core/step_context.h"
#include "app/window_controls.h"
#include "app/window_fields.h"
#include "app/window_job.h"
#include "serial/comm_ctrl.h"
#include "support/fake_clock.h"
#include "support/recording_host.h"
#include "support/scripted_device.h"

namespace vantrel::testing {

// Everything a step operation needs, on a scripted line and a fake clock, its inputs and events
// on the window's controls. The port starts open.
struct StepFixture {
  StepFixture() : port(std::make_unique<ScriptedDevice>(line)) {
    port.SetBaudRate(std::uint32_t{19200});
    port.Open();
  }

  // One timer tick: 10 ms pass before the call, as between two ticks of the window's timer.
  template <typename Op>
  StepResult Tick(Op&& op, StepPhase phase = PhaseContinue) {
    clock.Advance(10);
    return op.Run(phase);
  }

  // Ticks until the operation stops being busy (at most maxTicks); returns its last result.
  template <typename Op>
  StepResult RunToEnd(Op& op, int maxTicks = 1000) {
    for (int i = 0; i < maxTicks; ++i) {
      const StepResult r = Tick(op);
      if (r != StepBusy) return r;
    }
    return StepBusy;
  }

  FakeClock clock{1000};
  SharedTimeout timeout{clock};
  RecordingHost host;
  WindowControls controls;
  WindowFields fields;
  WindowJob window{host, controls, fields};
  ScriptedDevice::State line;
  CommCtrl port;
  StepContext ctx{port, timeout, window, window};
};

}  // namespace vantrel::testing
