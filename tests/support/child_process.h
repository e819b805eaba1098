#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vantrel::testing {

// A program started by a test, with its stdout and stderr captured. Every wait has a time-out,
// and the destructor ends a process the test left running.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::dup2(err[1], 2);
      const int devnull = ::open("/dev/null", O_RDONLY);
      if (devnull >= 0) ::dup2(devnull, 0);
      std::vector<char*> args;
      for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
    ::fcntl(out_, F_SETFL, O_NONBLOCK);
    ::fcntl(err_, F_SETFL, O_NONBLOCK);
  }
  ~ChildProcess() {
    if (pid_ > 0 && !exitCode_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
    if (err_ >= 0) ::close(err_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // The first line of stdout, waiting at most timeoutMs.
  std::optional<std::string> ReadLine(int timeoutMs) {
    const std::int64_t end = NowMs() + timeoutMs;
    for (;;) {
      Drain();
      if (const auto nl = stdout_.find('\n', consumed_); nl != std::string::npos) {
        std::string line = stdout_.substr(consumed_, nl - consumed_);
        consumed_ = nl + 1;
        return line;
      }
      const std::int64_t left = end - NowMs();
      if (left <= 0 || (exitCode_ && !Readable())) return std::nullopt;
      Poll(static_cast<int>(std::min<std::int64_t>(left, 50)));
    }
  }

  // The exit code (128 + signal for a signal), or nothing when it did not end in time.
  std::optional<int> Wait(int timeoutMs) {
    const std::int64_t end = NowMs() + timeoutMs;
    while (!exitCode_) {
      Drain();
      int status = 0;
      const pid_t r = ::waitpid(pid_, &status, WNOHANG);
      if (r == pid_) {
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        break;
      }
      if (NowMs() >= end) return std::nullopt;
      Poll(20);
    }
    Drain();
    return exitCode_;
  }

  void Signal(int sig) {
    if (pid_ > 0 && !exitCode_) ::kill(pid_, sig);
  }

  const std::string& out() {
    Drain();
    return stdout_;
  }
  const std::string& err() {
    Drain();
    return stderr_;
  }

 private:
  static std::int64_t NowMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
  }
  bool Readable() {
    pollfd p[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    return ::poll(p, 2, 0) > 0 && ((p[0].revents | p[1].revents) & POLLIN);
  }
  void Poll(int ms) {
    pollfd p[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    ::poll(p, 2, ms);
  }
  void Drain() {
    char buf[4096];
    for (auto [fd, sink] : {std::pair{out_, &stdout_}, std::pair{err_, &stderr_}}) {
      if (fd < 0) continue;
      for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) break;
        sink->append(buf, static_cast<std::size_t>(n));
      }
    }
  }

  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string stdout_;
  std::string stderr_;
  std::size_t consumed_ = 0;
  std::optional<int> exitCode_;
};

}  // namespace vantrel::testing
