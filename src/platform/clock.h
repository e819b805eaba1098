#pragma once

#include <cstdint>

namespace vantrel::platform {

// Sleeps the calling thread; for the front ends' tick loops and the simulated target only.
void SleepMs(std::uint32_t ms);
// As finely as the system sleeps: to the microsecond on POSIX, the millisecond above on Windows.
void SleepUs(std::uint32_t us);

// A free-running millisecond counter that wraps at 2^32, like the system tick count.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t NowMs() = 0;
  // Lets ms pass on this clock: the thread sleeps, a test's clock moves on.
  virtual void Sleep(std::uint32_t ms) { SleepMs(ms); }
  // A clock that counts whole milliseconds lets the ones begun pass.
  virtual void SleepUs(std::uint32_t us) { Sleep((us + 999) / 1000); }
};

// CLOCK_MONOTONIC taken as an unsigned 32-bit count of milliseconds.
class MonotonicClock final : public Clock {
 public:
  std::uint32_t NowMs() override;
  void SleepUs(std::uint32_t us) override { platform::SleepUs(us); }
};

}  // namespace vantrel::platform
