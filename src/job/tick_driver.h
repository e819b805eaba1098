#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/clock.h"

namespace vantrel {

class ProgrammingJob;

// How often the job's Tick runs: as soon as there is something to do (the default), or exactly
// once per timer period, as the window's original timer did.
enum class TickMode { Fast, Cadence };

inline constexpr std::uint32_t kTimerPeriodMs = 10;
// The longest a running job's driver waits before it looks again; an idle window waits longer.
inline constexpr std::uint32_t kLongestJobWaitMs = 100;

// "fast" or "10ms", as the command line and the window's settings give it.
std::optional<TickMode> ParseTickMode(std::string_view text);

// When the driver wants to run again.
struct TickPlan {
  std::uint32_t delayMs = 0;      // at the latest after this long
  bool wakeOnInput = false;       // or as soon as the port has input
  std::intptr_t pollHandle = -1;  // what to watch for that input; -1: nothing to watch
  // A sleep through an answer to the microsecond, for a front that can sleep that finely;
  // delayMs is it in whole milliseconds begun.
  std::uint32_t sleepUs = 0;
};

// Decides when a job's tick runs. In fast mode a tick follows the last one at once while
// the job gets on with its work, and waits on the port, with the job's time-out as the limit,
// once a tick found nothing to read; when the step knows that more than one byte is coming, it
// sleeps instead until they can have crossed the line, then asks the port whether they are all
// there before the tick that reads them. An idle window waits for its next event. The steps whose
// timing is part of the protocol keep one tick per timer period. Every front uses it: an event
// loop calls Run from its timer, from its watcher of the port and after each event it handled, a
// terminal loop calls Run and Wait in turn.
class TickDriver {
 public:
  TickDriver(ProgrammingJob& job, platform::Clock& clock, TickMode mode)
      : job_(job), clock_(clock), mode_(mode) {}

  // Runs the ticks that are due now, for one time slice at the most, and never waits on the port.
  // Called again from inside a tick (a message box's event loop), it runs nothing and asks to be
  // called a timer period later.
  TickPlan Run();
  // Blocks as the plan says: on the port for input with the delay as the limit, or for the delay.
  void Wait(const TickPlan& plan);

  TickMode mode() const { return mode_; }
  // Tick calls so far.
  std::uint64_t ticks() const { return ticks_; }

 private:
  TickPlan RunCadence();
  TickPlan RunFast();
  void Tick();
  TickPlan After(std::uint32_t dueMs) const;
  // The wait for the bytes the step expects, when there is one to plan; ahead: bytes just sent,
  // still on their way out.
  std::optional<TickPlan> AwaitArrival(bool askPort, std::uint64_t ahead = 0);

  ProgrammingJob& job_;
  platform::Clock& clock_;
  TickMode mode_;
  bool ticked_ = false;
  bool awaitingArrival_ = false;
  std::size_t waitingAtSleep_ = 0;  // bytes the port held when the driver last slept for more
  // At most this many characters of the awaited bytes can still be on the line once the first
  // sleep through them is over: those that come only after the bytes that were going out.
  std::size_t lateChars_ = SIZE_MAX;
  std::uint64_t lastSleepUs_ = 0;  // the sleep last planned, and when
  std::uint32_t sleptAtMs_ = 0;
  std::uint64_t quietUs_ = 0;  // slept through since the port last had more
  std::uint32_t lastTickMs_ = 0;
  std::uint32_t dueMs_ = 0;
  std::uint64_t ticks_ = 0;
};

}  // namespace vantrel
