#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vantrel::platform {

// The user's private runtime folder: $XDG_RUNTIME_DIR, else a folder of the user's own under the
// temporary folder, made with mode 0700; when another user has taken that folder's name, one in
// ~/.cache named after the machine. Empty when none can be used safely.
std::string RuntimeFolder();

// The first running copy of a program: it holds an exclusive lock named `name` in the runtime
// folder for as long as it lives, and listens beside it for the command lines of later copies.
class FirstCopy {
 public:
  enum class Claim { First, AnotherRuns, Unavailable };

  // Takes the lock; `first` is set only for Claim::First. Atomic: of two copies started at the
  // same instant exactly one gets it. A lock or socket left by a crashed copy is no obstacle.
  static Claim Take(std::string_view name, std::unique_ptr<FirstCopy>& first);

  ~FirstCopy();
  FirstCopy(const FirstCopy&) = delete;
  FirstCopy& operator=(const FirstCopy&) = delete;

  // The listening socket, for the event loop to watch.
  int ListenDescriptor() const { return listen_; }
  // One waiting connection of the same user, non-blocking; -1 when there is none.
  int Accept();

 private:
  FirstCopy(int lock, int listen, std::string socketPath)
      : lock_(lock), listen_(listen), socketPath_(std::move(socketPath)) {}
  int lock_;
  int listen_;
  std::string socketPath_;
};

// One later copy's command line as the first copy reads it, a piece at a time.
class ForwardedText {
 public:
  enum class Progress { Waiting, Complete, Broken };
  explicit ForwardedText(int fd) : fd_(fd) {}
  ~ForwardedText();
  ForwardedText(const ForwardedText&) = delete;
  ForwardedText& operator=(const ForwardedText&) = delete;

  // Reads what has arrived. Complete once the sender has finished sending.
  Progress ReadSome();
  // The bytes sent; only the first kKeptBytes are kept.
  std::string_view bytes() const { return kept_; }
  // Tells the sender that its text has been handled, and hangs up.
  void Acknowledge();

  static constexpr std::size_t kKeptBytes = 64 * 1024;

 private:
  int fd_;
  std::string kept_;
};

// A later copy: sends the text to the first copy and waits until that has handled it, however
// long that takes (a message box may be open there). Waits up to waitMs for the first copy to
// listen. False when it never did or the connection broke before the answer.
bool ForwardToFirstCopy(std::string_view name, std::string_view text, std::uint32_t waitMs);

}  // namespace vantrel::platform
