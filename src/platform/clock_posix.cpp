#include <time.h>

#include "platform/clock.h"

namespace vantrel::platform {

std::uint32_t MonotonicClock::NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                  static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

namespace {

void SleepFor(timespec ts) {
  while (nanosleep(&ts, &ts) != 0) {
  }
}

}  // namespace

void SleepMs(std::uint32_t ms) {
  SleepFor({static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L});
}

void SleepUs(std::uint32_t us) {
  SleepFor({static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000L});
}

}  // namespace vantrel::platform
