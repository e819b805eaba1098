#include <signal.h>

#include <atomic>

#include "platform/interrupt_flag.h"

namespace vantrel::platform {
namespace {

// Lock-free, so the handler may set it and every job's thread may read it.
std::atomic<int> interruptFlag{0};
static_assert(std::atomic<int>::is_always_lock_free);

void OnInterrupt(int) {
  interruptFlag.store(1, std::memory_order_relaxed);
}

}  // namespace

void InstallInterruptFlag() {
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no restart: a waiting poll returns at once
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
}

bool InterruptRequested() {
  return interruptFlag.load(std::memory_order_relaxed) != 0;
}

}  // namespace vantrel::platform
