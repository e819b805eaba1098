#include "app/win32/port_waiter.h"

namespace vantrel::win32 {

PortWaiter::PortWaiter(HWND window, UINT message)
    : window_(window), message_(message), thread_([this] { Loop(); }) {}

PortWaiter::~PortWaiter() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void PortWaiter::Start(TickDriver& driver, const TickPlan& plan) {
  {
    const std::lock_guard lock(mutex_);
    driver_ = &driver;
    plan_ = plan;
    cut_ = false;
  }
  wake_.notify_one();
}

void PortWaiter::Cut() {
  {
    const std::lock_guard lock(mutex_);
    cut_ = true;
  }
  wake_.notify_one();
}

void PortWaiter::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || plan_; });
    if (stop_) return;
    const TickPlan plan = *plan_;
    plan_.reset();
    if (plan.wakeOnInput || plan.delayMs <= kLongestJobWaitMs) {
      // A running job's: on the port or the fine clock, bounded by the plan's delay.
      lock.unlock();
      driver_->Wait(plan);
      lock.lock();
    } else {
      // An idle window's: its next event cuts it short.
      wake_.wait_for(lock, std::chrono::milliseconds(plan.delayMs),
                     [this] { return stop_ || cut_; });
    }
    ::PostMessageW(window_, message_, 1, 0);
  }
}

}  // namespace vantrel::win32
