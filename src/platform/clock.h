#pragma once

#include <cstdint>

namespace vantrel::platform {

// A free-running millisecond counter that wraps at 2^32, like the system tick count.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t NowMs() = 0;
};

// CLOCK_MONOTONIC taken as an unsigned 32-bit count of milliseconds.
class MonotonicClock final : public Clock {
 public:
  std::uint32_t NowMs() override;
};

// Sleeps the calling thread; for the front ends' tick loops and the simulated target only.
void SleepMs(std::uint32_t ms);

}  // namespace vantrel::platform
