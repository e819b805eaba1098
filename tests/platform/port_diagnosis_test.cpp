#include "platform/port_diagnosis.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/pty.h"
#include "support/temp_folder.h"

namespace vantrel::platform {
namespace {

using Problem = PortDiagnosis::Problem;

TEST(PortDiagnosis, AMissingPortIsToldApart) {
  const auto d = DiagnosePort("/dev/no-such-serial-port");
  EXPECT_EQ(d.problem, Problem::Missing);
  EXPECT_EQ(DiagnosePort("COM3").device, "/dev/ttyS2");
}

TEST(PortDiagnosis, NamesTheProcessThatHoldsThePort) {
  PtyMaster master;
  ASSERT_TRUE(master.Open(nullptr));
  EXPECT_EQ(DiagnosePort(master.slavePath()).problem, Problem::None);
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    const int fd = ::open(master.slavePath().c_str(), O_RDWR | O_NOCTTY);
    const char ok = fd >= 0 ? 'y' : 'n';
    (void)!::write(ready[1], &ok, 1);
    ::pause();
    ::_exit(0);
  }
  char ok = 0;
  ASSERT_EQ(::read(ready[0], &ok, 1), 1);
  ASSERT_EQ(ok, 'y');
  const auto d = DiagnosePort(master.slavePath());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  EXPECT_EQ(d.problem, Problem::Busy);
  ASSERT_EQ(d.holders.size(), 1u);
  EXPECT_EQ(d.holders[0].pid, child);
  EXPECT_EQ(d.holders[0].name, "test_platform");
}

TEST(PortDiagnosis, APathThatIsNoCharacterDeviceIsNoPort) {
  testing::TempFolder folder;
  const std::string locked = folder.Write("locked", "");
  ::chmod(locked.c_str(), 0);
  for (const std::string& path : {std::string("/etc/passwd"), folder.path(), locked}) {
    const auto d = DiagnosePort(path);
    EXPECT_EQ(d.problem, Problem::NotADevice) << path;
    EXPECT_NE(d.mode.front(), 'c') << path;
  }
}

TEST(PortDiagnosis, APortTheUserMayNotUseNamesItsGroup) {
  PtyMaster master;
  ASSERT_TRUE(master.Open(nullptr));
  const std::string port = master.slavePath();
  struct stat st {};
  ASSERT_EQ(::stat(port.c_str(), &st), 0);
  const group* owner = ::getgrgid(st.st_gid);
  ASSERT_NE(owner, nullptr);
  const std::string expected = owner->gr_name;
  // Root may use any device: the check runs as an ordinary user in a child.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chmod(port.c_str(), 0) != 0) ::_exit(4);
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(3);
    }
    const auto d = DiagnosePort(port);
    const bool told = d.problem == Problem::NoPermission && d.group == expected &&
                      d.mode == "c---------" && !d.owner.empty();
    ::_exit(told ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(PortDiagnosis, ProcessesThatCannotBeLookedIntoAreCountedNotIgnored) {
  testing::TempFolder proc;
  PortDiagnosis d;
  d.device = proc.Write("port", "");
  proc.Write("101/fd", "");  // a refusal, as /proc gives for another user's process
  std::filesystem::create_directories(proc.path() + "/102");  // ended meanwhile: no fd
  std::filesystem::create_directories(proc.path() + "/103/fd");
  std::filesystem::create_symlink(d.device, proc.path() + "/103/fd/4");
  FindProcessesHolding(d, proc.path());
  EXPECT_EQ(d.unseenProcesses, 1);
  ASSERT_EQ(d.holders.size(), 1u);
  EXPECT_EQ(d.holders[0].pid, 103);
}

}  // namespace
}  // namespace vantrel::platform
