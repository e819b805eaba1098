#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "job/tick_driver.h"

namespace vantrel::win32 {

// Waits as the tick driver's plan says (on the port for input, or for a delay) on a thread of its
// own, while the window's thread goes on with its messages, and posts the window a message when
// the wait is over. A Windows port handle signals nothing an event loop could watch; this is the
// loop's watcher. The port is the window thread's again only once that message is in: no tick
// may run meanwhile.
class PortWaiter {
 public:
  PortWaiter(HWND window, UINT message);
  ~PortWaiter();
  PortWaiter(const PortWaiter&) = delete;
  PortWaiter& operator=(const PortWaiter&) = delete;

  // The message comes with wParam 1.
  void Start(TickDriver& driver, const TickPlan& plan);
  // Ends an idle window's long wait at once; a running job's waits end by themselves soon enough.
  void Cut();

 private:
  void Loop();

  HWND window_;
  UINT message_;
  std::mutex mutex_;
  std::condition_variable wake_;
  TickDriver* driver_ = nullptr;
  std::optional<TickPlan> plan_;
  bool stop_ = false;
  bool cut_ = false;
  std::thread thread_;
};

}  // namespace vantrel::win32
