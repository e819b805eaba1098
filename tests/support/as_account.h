#pragma once

#ifndef _WIN32
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace vantrel::testing {

// Accounts no one has, for tests that need two (root only).
inline constexpr uid_t kFirstAccount = 64990;
inline constexpr uid_t kSecondAccount = 64991;
inline constexpr uid_t kStranger = 64992;
inline constexpr gid_t kSharedGroup = 64990;

// The body's result, run in a child process as `uid` of the one group `gid` with the umask 002.
inline int AsAccount(uid_t uid, gid_t gid, const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgroups(1, &gid) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(99);
    ::umask(002);
    ::_exit(body());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace vantrel::testing
#endif
