#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstring>
#include <stdexcept>

#include "app/qt/application.h"
#include "app/qt/command_listener.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace vantrel::testing {
namespace {

// Sends the socket notifier of `fd` among the object's children its "readable" event.
void Activate(QObject& owner, int fd) {
  for (auto* notifier : owner.findChildren<QSocketNotifier*>()) {
    if (notifier->socket() != fd) continue;
    QEvent event(QEvent::SockAct);
    QCoreApplication::sendEvent(notifier, &event);
  }
}

// An exception that escapes an event handler ends the program as one at start-up does: the
// standard message, then exit code 1 (never 0, which an unattended run takes for success).
TEST(Application, AnExceptionFromAnEventHandlerEndsTheProgramWithExitCodeOne) {
  auto& app = *static_cast<qt::Application*>(QCoreApplication::instance());
  RecordingHost host;
  app.SetHost(&host);
  struct Throwing : QObject {
    bool event(QEvent*) override { throw std::runtime_error("broken"); }
  } target;
  QEvent event(QEvent::User);
  int code = -1;
  try {
    QCoreApplication::sendEvent(&target, &event);
  } catch (const RecordingHost::ExitRequested& exit) {
    code = exit.code;
  }
  app.SetHost(nullptr);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(host.boxes, std::vector<std::string>{"broken"});
}

// A later copy's connection is closed however its handling ends, a handler that throws
// included: the later copy is let go and does not wait for good.
TEST(CommandListener, ALaterCopyIsLetGoWhenTheHandlerThrows) {
  TempFolder runtime;
  ::chmod(runtime.path().c_str(), 0700);
  ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  std::unique_ptr<platform::FirstCopy> first;
  ASSERT_EQ(platform::FirstCopy::Take("listener", first), platform::FirstCopy::Claim::First);
  const int listening = first->ListenDescriptor();
  qt::CommandListener listener(std::move(first),
                               [](std::string_view) { throw std::runtime_error("broken"); });

  const int later = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, runtime.PathOf("listener.sock").c_str());
  ASSERT_EQ(::connect(later, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::send(later, "a.mot", 5, 0), 5);
  ::shutdown(later, SHUT_WR);
  Activate(listener, listening);
  const auto before = listener.findChildren<QSocketNotifier*>();
  ASSERT_EQ(before.size(), 2);
  EXPECT_THROW(Activate(listener, before[1]->socket()), std::runtime_error);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  pollfd hangUp{later, POLLIN, 0};
  ASSERT_EQ(::poll(&hangUp, 1, 5000), 1) << "the later copy still waits";
  char answer = 0;
  EXPECT_EQ(::recv(later, &answer, 1, 0), 0);
  ::close(later);
}

}  // namespace
}  // namespace vantrel::testing
