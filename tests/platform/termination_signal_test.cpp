#include "platform/termination_signal.h"

#include <fcntl.h>
#include <signal.h>

#include <gtest/gtest.h>

#include <cerrno>

namespace vantrel::platform {
namespace {

TEST(TerminationSignal, TheHandlerLeavesErrnoAsItWasEvenWhenThePipeIsFull) {
  const int fd = TerminationSignalDescriptor();
  ASSERT_GE(fd, 0);
  const int capacity = ::fcntl(fd, F_SETPIPE_SZ, 4096);
  ASSERT_GT(capacity, 0);
  // Each signal adds a byte; past the capacity the handler's write fails (EAGAIN).
  for (int i = 0; i <= capacity; ++i) ::raise(SIGHUP);
  errno = ENOENT;
  ::raise(SIGHUP);
  EXPECT_EQ(errno, ENOENT);
  DrainTerminationSignal();
}

}  // namespace
}  // namespace vantrel::platform
