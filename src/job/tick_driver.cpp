#include "job/tick_driver.h"

#include <algorithm>

#include "job/programming_job.h"

namespace vantrel {
namespace {

// Longest wait on a silent port: keeps the status line and an abort request moving.
constexpr std::uint32_t kLongestWaitMs = kLongestJobWaitMs;
// A UART hands over the rest of a run once the line has been quiet for about this many
// characters: a shorter sleep through the end of an answer would find no more than before.
constexpr std::uint64_t kRunEndChars = 4;
// Quiet this long in the middle of an answer, the target has paused.
constexpr std::uint64_t kPausedUs = 5000;
// An idle window changes only through its own events, after each of which the front runs the
// driver again; this is the wait should one be missed.
constexpr std::uint32_t kIdleWaitMs = 1000;
// Work done in one Run before an event loop gets its turn.
constexpr std::uint32_t kSliceMs = 20;
constexpr int kSliceTicks = 2000;

bool Late(std::uint32_t dueMs, std::uint32_t nowMs) {
  return static_cast<std::int32_t>(nowMs - dueMs) >= 0;
}

}  // namespace

std::optional<TickMode> ParseTickMode(std::string_view text) {
  if (text == "fast") return TickMode::Fast;
  if (text == "10ms") return TickMode::Cadence;
  return std::nullopt;
}

void TickDriver::Tick() {
  lastTickMs_ = clock_.NowMs();
  waitingAtSleep_ = 0;
  lateChars_ = SIZE_MAX;
  quietUs_ = 0;
  ticked_ = true;
  ++ticks_;
  job_.Tick();
}

TickPlan TickDriver::After(std::uint32_t dueMs) const {
  const std::uint32_t now = clock_.NowMs();
  return {Late(dueMs, now) ? 0u : dueMs - now, false, -1};
}

TickPlan TickDriver::Run() {
  // A message box opened inside a tick runs an event loop that may call back in here.
  if (job_.InTick()) return {kTimerPeriodMs, false, -1};
  return mode_ == TickMode::Fast ? RunFast() : RunCadence();
}

TickPlan TickDriver::RunCadence() {
  const std::uint32_t now = clock_.NowMs();
  if (ticked_ && !Late(dueMs_, now)) return After(dueMs_);
  // A tick a little late keeps the 10 ms grid; one more than a period late starts a new grid, so
  // a slow tick lengthens nothing but the reaction time.
  const bool onGrid = ticked_ && !Late(dueMs_ + kTimerPeriodMs, now);
  dueMs_ = (onGrid ? dueMs_ : now) + kTimerPeriodMs;
  Tick();
  return After(dueMs_);
}

TickPlan TickDriver::RunFast() {
  const std::uint32_t sliceStart = clock_.NowMs();
  for (int n = 0; n < kSliceTicks; ++n) {
    if (!job_.Running() || job_.PacedByTimer()) {
      const std::uint32_t due = lastTickMs_ + kTimerPeriodMs;
      if (ticked_ && !Late(due, clock_.NowMs())) return After(due);
      const bool idle = !job_.Running();
      Tick();
      // The idle status line is shown; nothing more to do until an event.
      if (idle && !job_.Running()) return {kIdleWaitMs, false, -1};
      continue;
    }
    if (awaitingArrival_) {
      awaitingArrival_ = false;
      if (const auto plan = AwaitArrival(true)) return *plan;
    }
    const LineActivity before = job_.port().activity();
    Tick();
    const LineActivity& after = job_.port().activity();
    const bool foundNothing = after.emptyReads != before.emptyReads &&
                              after.bytesReceived == before.bytesReceived &&
                              after.bytesSent == before.bytesSent;
    // What was just sent is answered no sooner than it has crossed the line: the port tells
    // whether anything is there without the read that would find it empty.
    if (after.bytesSent != before.bytesSent && job_.ExpectedBytes() > 0) {
      if (const auto plan = AwaitArrival(true, after.bytesSent - before.bytesSent)) return *plan;
    }
    if (foundNothing) {
      if (const auto plan = AwaitArrival(false)) return *plan;
      // Waiting for the target: until a byte comes or the job's time-out runs out.
      const std::int32_t left = job_.timeout().TimeoutRemaining();
      const auto limit =
          static_cast<std::uint32_t>(std::clamp<std::int32_t>(left, 1, kLongestWaitMs));
      return {limit, true, job_.port().PollHandle()};
    }
    if (clock_.NowMs() - sliceStart >= kSliceMs) break;
  }
  return {0, false, -1};
}

std::optional<TickPlan> TickDriver::AwaitArrival(bool askPort, std::uint64_t ahead) {
  std::size_t missing = job_.ExpectedBytes();
  std::size_t waiting = 0;
  if (askPort) {
    // Without an answer from the port, the tick finds out.
    const auto there = job_.port().BytesWaiting();
    if (!there) return std::nullopt;
    // Nothing more came for a while: the target has paused, and the step takes what is there
    // now, so that a time-out of its next sub-state starts when it would have. A sleep through a
    // part of a run is too short to tell.
    if (*there > 0 && *there == waitingAtSleep_) {
      const std::uint64_t sleptUs = std::uint64_t{clock_.NowMs() - sleptAtMs_} * 1000;
      quietUs_ += std::max(sleptUs, lastSleepUs_);
      if (quietUs_ >= kPausedUs) return std::nullopt;
    } else {
      quietUs_ = 0;
    }
    waiting = *there;
    missing -= std::min(missing, waiting);
  } else if (missing < 2) {
    // A lone byte is read the moment it comes.
    return std::nullopt;
  }
  if (missing == 0) return std::nullopt;
  const std::int32_t left = job_.timeout().TimeoutRemaining();
  // An echo comes back while the bytes go out, an answer once they are out: the longer of the two
  // is the least time, and the port tells the rest.
  // What has not come by the end of that, a buffer on the way may still hold: the bytes that can
  // follow what was sent are left, and the quiet time after which a UART hands over the rest.
  const std::uint64_t chars = waiting > 0 ? std::min(missing, lateChars_) + kRunEndChars
                                          : std::max<std::uint64_t>(missing, ahead);
  const std::uint64_t us =
      std::min<std::uint64_t>(chars * job_.port().CharTime(), std::uint64_t{kLongestWaitMs} * 1000);
  const auto ms = static_cast<std::uint32_t>((us + 999) / 1000);
  // A wait that would outlast the time-out is the port's: the tick that fails must not be late.
  if (left <= 0 || static_cast<std::int64_t>(ms) >= left) return std::nullopt;
  awaitingArrival_ = true;
  waitingAtSleep_ = waiting;
  if (waiting == 0) lateChars_ = std::min(missing, ahead);
  // The port wakes the driver for a lone byte only while it holds nothing else.
  if (missing == 1 && waiting == 0)
    return TickPlan{static_cast<std::uint32_t>(std::min<std::int32_t>(left, kLongestWaitMs)), true,
                    job_.port().PollHandle()};
  lastSleepUs_ = us;
  sleptAtMs_ = clock_.NowMs();
  return TickPlan{ms, false, -1, static_cast<std::uint32_t>(us)};
}

void TickDriver::Wait(const TickPlan& plan) {
  if (plan.delayMs == 0) return;
  if (plan.wakeOnInput) {
    job_.port().WaitForInput(plan.delayMs, clock_);
  } else if (plan.sleepUs > 0) {
    clock_.SleepUs(plan.sleepUs);
  } else {
    clock_.Sleep(plan.delayMs);
  }
}

}  // namespace vantrel
