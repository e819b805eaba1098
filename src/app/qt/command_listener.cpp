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
    auto* text = new platform::ForwardedText(fd);
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    auto* limit = new QTimer(notifier);
    limit->setSingleShot(true);
    // Either ends the connection exactly once: the text is read, or the sender was too slow.
    const auto finish = [notifier, limit, text](bool handle, CommandListener* self) {
      notifier->setEnabled(false);
      limit->stop();
      if (handle) {
        // A text too long to keep whole is still far over the limit the handler applies.
        self->handler_(text->bytes());
        text->Acknowledge();
      }
      delete text;
      notifier->deleteLater();
    };
    connect(limit, &QTimer::timeout, notifier, [this, finish] { finish(false, this); });
    connect(notifier, &QSocketNotifier::activated, notifier, [this, text, finish] {
      const auto progress = text->ReadSome();
      if (progress == platform::ForwardedText::Progress::Waiting) return;
      finish(progress == platform::ForwardedText::Progress::Complete, this);
    });
    limit->start(kSendingLimitMs);
  }
}

}  // namespace vantrel::qt
