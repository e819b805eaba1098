#include "core/shared_timeout.h"

namespace vantrel {

void SharedTimeout::StartTimeout(std::int32_t durationMs) {
  duration_ = durationMs;
  start_ = clock_.NowMs();
}

std::int32_t SharedTimeout::TimeoutRemaining() const {
  if (endWaits_ && endWaits_()) return 0;
  const std::uint32_t elapsed = clock_.NowMs() - start_;
  const std::int64_t left =
      static_cast<std::int64_t>(duration_) - static_cast<std::int64_t>(elapsed);
  return left > 0 ? static_cast<std::int32_t>(left) : 0;
}

}  // namespace vantrel
