#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "platform/clock.h"

namespace vantrel {

// The one time-out of the window that every step operation measures its waits against.
class SharedTimeout {
 public:
  explicit SharedTimeout(platform::Clock& clock) : clock_(clock) {}

  void StartTimeout(std::int32_t durationMs);
  // Milliseconds left, 0 once run out. Elapsed time is taken in unsigned 32-bit arithmetic so the
  // clock's wrap-around is harmless.
  std::int32_t TimeoutRemaining() const;
  // While the condition holds, every time-out reads as run out, so that each waiting step fails
  // at once with its own message (the port's line is gone: nothing will come).
  void EndWaitsWhen(std::function<bool()> condition) { endWaits_ = std::move(condition); }

  platform::Clock& clock() const { return clock_; }

 private:
  platform::Clock& clock_;
  std::uint32_t start_ = 0;
  std::int32_t duration_ = 0;
  std::function<bool()> endWaits_;
};

}  // namespace vantrel
