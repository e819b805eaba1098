#include "app/qt/command_listener.h"

#include <QSocketNotifier>
#include <QTimer>

namespace vantrel::qt {
namespace {

// A sender that has not finished sending by then is dropped.
constexpr int kSendingLimitMs = 10000;

}  // namespace

CommandListener::CommandListener(std::unique_ptr<platform::FirstCopy> first, Handler handler)
    : first_(std::move(first)), handler_(std::move(handler)) {
  auto* notifier = new QSocketNotifier(first_->ListenDescriptor(), QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this] { AcceptWaiting(); });
}

CommandListener::~CommandListener() = default;

void CommandListener::AcceptWaiting() {
  for (int fd = first_->Accept(); fd >= 0; fd = first_->Accept()) {
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    // Goes with the notifier, however the connection ends, a handler that throws included.
    auto text = std::make_shared<platform::ForwardedText>(fd);
    auto* limit = new QTimer(notifier);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, notifier, &QObject::deleteLater);
    connect(notifier, &QSocketNotifier::activated, notifier, [this, notifier, text] {
      const auto keep = text;  // the notifier, and this function with it, may go meanwhile
      const auto progress = keep->ReadSome();
      if (progress == platform::ForwardedText::Progress::Waiting) return;
      // Either way the connection ends once.
      notifier->setEnabled(false);
      notifier->deleteLater();
      if (progress != platform::ForwardedText::Progress::Complete) return;
      // A text too long to keep whole is still far over the limit the handler applies.
      handler_(keep->bytes());
      keep->Acknowledge();
    });
    limit->start(kSendingLimitMs);
  }
}

}  // namespace vantrel::qt
