#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QSocketNotifier;

namespace vantrel::qt {

// A one-shot timer to the microsecond: a timer descriptor the event loop watches. Its own timers
// wake on whole milliseconds, rounded up, which through one answer a block costs the line time.
class FineTimer final : public QObject {
 public:
  FineTimer(QObject* parent, std::function<void()> fired);
  ~FineTimer() override;
  FineTimer(const FineTimer&) = delete;
  FineTimer& operator=(const FineTimer&) = delete;

  // False when the system gave no timer: the caller falls back to a millisecond one.
  bool Start(std::uint32_t us);
  void Stop();

 private:
  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vantrel::qt
