#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/clock.h"
#include "platform/host_name.h"
#include "platform/single_instance.h"

namespace vantrel::platform {
namespace {

// A folder only its owner can enter: ours, not a link, no access for others.
bool PrivateFolder(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & 077) == 0;
}

// The folder, made if need be; empty unless it is a private folder of this user's.
std::string OwnFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return {};
  return PrivateFolder(path) ? path : std::string();
}

bool SocketAddress(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

bool SameUser(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

}  // namespace

std::string RuntimeFolder() {
  if (const char* xdg = ::getenv("XDG_RUNTIME_DIR"); xdg != nullptr && *xdg == '/') {
    if (PrivateFolder(xdg)) return xdg;
  }
  const std::string user = std::to_string(::geteuid());
  const char* tmp = ::getenv("TMPDIR");
  const std::string shared = std::string(tmp != nullptr && *tmp == '/' ? tmp : "/tmp");
  if (std::string folder = OwnFolder(shared + "/vantrel-" + user); !folder.empty()) return folder;
  // Another user took that name first: the home folder is a place no one else can make one in.
  const char* home = ::getenv("HOME");
  if (home == nullptr || *home != '/') return {};
  const std::string cache = std::string(home) + "/.cache";
  ::mkdir(cache.c_str(), 0700);
  // One per machine: a home folder shared over the network must not join two machines' copies.
  return OwnFolder(cache + "/vantrel-" + HostName() + "-" + user);
}

FirstCopy::Claim FirstCopy::Take(std::string_view name, std::unique_ptr<FirstCopy>& first) {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return Claim::Unavailable;
  const std::string base = folder + "/" + std::string(name);
  const int lock = ::open(base.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lock < 0) return Claim::Unavailable;
  if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(lock);
    return held ? Claim::AnotherRuns : Claim::Unavailable;
  }
  // Holding the lock, a socket file left behind is a dead copy's.
  const std::string socketPath = base + ".sock";
  sockaddr_un address;
  const int listen = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  ::unlink(socketPath.c_str());
  if (listen < 0 || !SocketAddress(socketPath, address) ||
      ::bind(listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listen, 8) != 0) {
    if (listen >= 0) ::close(listen);
    ::close(lock);
    return Claim::Unavailable;
  }
  ::chmod(socketPath.c_str(), 0600);
  first.reset(new FirstCopy(lock, listen, socketPath));
  return Claim::First;
}

FirstCopy::~FirstCopy() {
  ::unlink(socketPath_.c_str());
  ::close(listen_);
  ::close(lock_);
}

int FirstCopy::Accept() {
  for (;;) {
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return -1;
    if (SameUser(fd)) return fd;
    ::close(fd);
  }
}

ForwardedText::~ForwardedText() {
  if (fd_ >= 0) ::close(fd_);
}

ForwardedText::Progress ForwardedText::ReadSome() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n == 0) return Progress::Complete;  // the sender has finished sending
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno == EAGAIN ? Progress::Waiting : Progress::Broken;
    }
    const std::size_t room = kKeptBytes - kept_.size();
    kept_.append(buffer, std::min(room, static_cast<std::size_t>(n)));
  }
}

void ForwardedText::Acknowledge() {
  const char done = 1;
  [[maybe_unused]] const auto n = ::send(fd_, &done, 1, MSG_NOSIGNAL);
  ::close(fd_);
  fd_ = -1;
}

bool ForwardToFirstCopy(std::string_view name, std::string_view text, std::uint32_t waitMs) {
  const std::string folder = RuntimeFolder();
  sockaddr_un address;
  if (folder.empty() || !SocketAddress(folder + "/" + std::string(name) + ".sock", address)) {
    return false;
  }
  MonotonicClock clock;
  const std::uint32_t start = clock.NowMs();
  int fd = -1;
  // The first copy may still be starting: wait a while for it to listen.
  for (;;) {
    fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) break;
    ::close(fd);
    if (clock.NowMs() - start >= waitMs) return false;
    SleepMs(50);
  }
  bool ok = true;
  while (ok && !text.empty()) {
    const ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) text.remove_prefix(static_cast<std::size_t>(n));
  }
  ::shutdown(fd, SHUT_WR);
  char answer = 0;
  ssize_t n;
  do {
    n = ::recv(fd, &answer, 1, 0);
  } while (n < 0 && errno == EINTR);
  ::close(fd);
  return ok && n == 1;
}

}  // namespace vantrel::platform
