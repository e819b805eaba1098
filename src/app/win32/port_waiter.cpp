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
    lock.unlock();
    // Bounded by the plan: the port's input, or its delay.
    driver_->Wait(plan);
    ::PostMessageW(window_, message_, 1, 0);
    lock.lock();
  }
}

}  // namespace vantrel::win32
