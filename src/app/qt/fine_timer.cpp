#include "app/qt/fine_timer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>

#include <QSocketNotifier>

namespace vantrel::qt {
namespace {

bool Arm(int fd, std::uint32_t us) {
  itimerspec when{};
  when.it_value = {static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000};
  return ::timerfd_settime(fd, 0, &when, nullptr) == 0;
}

}  // namespace

FineTimer::FineTimer(QObject* parent, std::function<void()> fired) : QObject(parent) {
  fd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  if (fd_ < 0) return;
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this, fired = std::move(fired)] {
    std::uint64_t expirations = 0;
    // Stopped after it ran out, it has nothing to say.
    if (::read(fd_, &expirations, sizeof expirations) == sizeof expirations) fired();
  });
}

FineTimer::~FineTimer() {
  delete notifier_;
  if (fd_ >= 0) ::close(fd_);
}

bool FineTimer::Start(std::uint32_t us) {
  // A zero would disarm it.
  return fd_ >= 0 && Arm(fd_, std::max<std::uint32_t>(us, 1));
}

void FineTimer::Stop() {
  if (fd_ >= 0) Arm(fd_, 0);
}

}  // namespace vantrel::qt
