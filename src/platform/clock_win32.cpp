#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include "platform/clock.h"

namespace vantrel::platform {

std::uint32_t MonotonicClock::NowMs() {
  return ::timeGetTime();
}

void SleepMs(std::uint32_t ms) {
  // Without this, sleeps and timeGetTime move in steps of the 15.6 ms scheduler tick, and a
  // 10 ms tick loop runs at 64 Hz at best.
  static const bool fineTimer = ::timeBeginPeriod(1) == TIMERR_NOERROR;
  (void)fineTimer;
  ::Sleep(ms);
}

void SleepUs(std::uint32_t us) {
  SleepMs((us + 999) / 1000);
}

}  // namespace vantrel::platform
