#pragma once

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

namespace vantrel::testing {

// Runs a write in a child process whose files cannot grow past `bytes`, as on a disk that fills
// up on the way. What the write returned; nothing when the child did not end normally.
template <class Write>
std::optional<bool> WriteOnAFullDisk(rlim_t bytes, Write write) {
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(write() ? 0 : 1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status) == 0;
}

}  // namespace vantrel::testing
#endif
