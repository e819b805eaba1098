#include "platform/latency_timer.h"

namespace vantrel::platform {

std::optional<LatencyTimer> FindLatencyTimer(std::string_view) {
  return std::nullopt;
}

}  // namespace vantrel::platform
