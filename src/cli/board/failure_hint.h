#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/job_events.h"
#include "platform/latency_timer.h"
#include "platform/port_diagnosis.h"

namespace vantrel::cli {

// What a hint may need to know about the board's job when its failure message comes.
struct HintContext {
  std::string port;
  std::string baudBoot;  // "Baud (B)" as the job used it
  bool portOpen = false;
  std::string baudProg;     // "Baud (P)"
  std::string portJobFile;  // the job file the port was taken from; empty: from --port
  bool lineLost = false;    // whatever the step failed on, the port's line had died under it
};

// One line a person can act on after the failure, or an empty text. The port's problem is looked
// up when the port did not open.
std::string FailureHint(const JobFailureEvent& failure, const HintContext& context);

// The hint for a port that did not open, from what the system tells about it.
std::string PortOpenHint(const platform::PortDiagnosis& diagnosis, std::string_view port);

// The hint for an adapter that holds received bytes longer than a millisecond; empty otherwise.
std::string LatencyTimerHint(const std::optional<platform::LatencyTimer>& timer,
                             std::string_view port);

}  // namespace vantrel::cli
