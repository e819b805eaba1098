// vantrel-target as a process on a real pseudo-terminal, driven the way a host drives a port.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("vantrel-h4-" + std::to_string(::getpid()) + "-" + name))
      .string();
}

// One vantrel-target process; killed at the end of the test if still running.
class TargetProcess {
 public:
  explicit TargetProcess(std::vector<std::string> args) {
    args.insert(args.begin(), std::string(VANTREL_BIN_DIR) + "/vantrel-target");
    int out[2];
    int err[2];
    EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
    EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    EXPECT_EQ(::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    out_ = out[0];
    err_ = err[0];
  }
  ~TargetProcess() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(out_);
    ::close(err_);
  }

  // The first line of standard output, waited for up to the time-out.
  std::string ReadLine(int timeoutMs = 5000) {
    std::string line;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      char c;
      if (::read(out_, &c, 1) != 1) break;
      if (c == '\n') return line;
      line += c;
    }
    return line;
  }
  std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    return text;
  }
  std::string Stdout() { return ReadAll(out_); }
  std::string Stderr() { return ReadAll(err_); }

  // The exit code, or -1 when the process has not ended within the time-out.
  int Wait(int timeoutMs = 5000) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }
  void Signal(int sig) { ::kill(pid_, sig); }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  bool exited_ = false;
};

// The host's end: the slave opened as a serial port, at any rate.
class HostPort {
 public:
  bool Open(const std::string& path, std::uint32_t baud) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    return fd_ >= 0 && SetRate(baud);
  }
  bool SetRate(std::uint32_t baud) {
    termios2 t{};
    if (::ioctl(fd_, TCGETS2, &t) != 0) return false;
    t.c_cflag = (t.c_cflag & ~CBAUD) | BOTHER;
    t.c_ispeed = t.c_ospeed = baud;
    return ::ioctl(fd_, TCSETS2, &t) == 0;
  }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  ~HostPort() { Close(); }
  bool Write(const Bytes& bytes) {
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // Reads until `count` bytes came or the time-out ran out.
  Bytes Read(std::size_t count, int timeoutMs = 2000) {
    Bytes got;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got.size() < count && Clock::now() < end) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 10) <= 0) continue;
      std::uint8_t buffer[512];
      const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }
  // Sends and collects the answer of the given length.
  Bytes Exchange(const Bytes& bytes, std::size_t answer, int timeoutMs = 2000) {
    EXPECT_TRUE(Write(bytes));
    return Read(answer, timeoutMs);
  }
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

Bytes Block(std::uint8_t seed) {
  Bytes b(128);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(seed ^ (i * 3));
  return b;
}

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Sync, handshake, a two-byte program and the erase answer.
void StartClassicJob(HostPort& host) {
  EXPECT_EQ(host.Exchange({0x00, 0x00, 0x00}, 1), Bytes{0x00});
  EXPECT_EQ(host.Exchange({0x55}, 1), Bytes{0xAA});
  EXPECT_EQ(host.Exchange({0x00, 0x02, 0x4E, 0x71}, 4), (Bytes{0x00, 0x02, 0x4E, 0x71}));
  EXPECT_EQ(host.Read(1, 3000), Bytes{0xAA});
}

TEST(PtyProgram, ClassicJobIsServedAndTheFlashDumped) {
  const std::string dump = TempPath("job.bin");
  std::filesystem::remove(dump);
  TargetProcess target({"--dump", dump, "--jobs", "1", "--erase-ms", "50", "--flash-size", "0x1000",
                        "--prog-baud", "28800", "--pacing", "--quiet"});
  const std::string path = target.ReadLine();
  ASSERT_FALSE(path.empty());
  HostPort host;
  ASSERT_TRUE(host.Open(path, 14400)) << path;
  StartClassicJob(host);
  // The classic host reopens its port at the programming rate.
  host.Close();
  ASSERT_TRUE(host.Open(path, 28800));
  EXPECT_EQ(host.Exchange(Join({0x55, 0x80, 0x00, 0x00}, Block(1)), 1), Bytes{0xAA});
  EXPECT_EQ(host.Exchange({0x56, 0x80, 0x00, 0x00}, 131), Join({0x80, 0x00, 0x00}, Block(1)));
  ASSERT_TRUE(host.Write({0xFF}));
  host.Close();
  EXPECT_EQ(target.Wait(), 0);

  std::ifstream in(dump, std::ios::binary);
  const Bytes flash((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(flash.size(), 0x1000u);
  EXPECT_EQ(Bytes(flash.begin() + 0x80, flash.begin() + 0x100), Block(1));
  EXPECT_EQ(flash[0x7F], 0xFF);
  EXPECT_EQ(flash[0x100], 0xFF);
  std::filesystem::remove(dump);
}

TEST(PtyProgram, HostAtTheWrongRateGetsNoHandshake) {
  TargetProcess target({"--quiet"});
  const std::string path = target.ReadLine();
  HostPort host;
  ASSERT_TRUE(host.Open(path, 9600));
  EXPECT_EQ(host.Exchange({0x00, 0x00, 0x00}, 1), Bytes{0x00});
  ASSERT_TRUE(host.SetRate(38400));
  const Bytes answer = host.Exchange({0x55}, 1, 300);
  EXPECT_NE(answer, Bytes{0xAA});
  ASSERT_TRUE(host.SetRate(9600));
  EXPECT_EQ(host.Exchange({0x55}, 1), Bytes{0xAA});
}

TEST(PtyProgram, ShortAbsenceKeepsTheJobLongAbsenceResetsTheBoard) {
  TargetProcess target({"--quiet", "--erase-ms", "10"});
  const std::string path = target.ReadLine();
  HostPort host;
  ASSERT_TRUE(host.Open(path, 19200));
  StartClassicJob(host);
  host.Close();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  // Still in the job: a verify of an erased block is answered.
  ASSERT_TRUE(host.Open(path, 19200));
  EXPECT_EQ(host.Exchange({0x56, 0x00, 0x00, 0x00}, 131).size(), 131u);
  host.Close();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  // Back in boot mode: one zero is not yet answered, the third is.
  ASSERT_TRUE(host.Open(path, 19200));
  EXPECT_EQ(host.Exchange({0x00}, 1, 200), Bytes{});
  EXPECT_EQ(host.Exchange({0x00, 0x00}, 1), Bytes{0x00});
}

TEST(PtyProgram, NoiseReachesTheHostAfterItOpens) {
  TargetProcess target({"--quiet", "--fault-noise", "0x13,0x00,0x7F"});
  const std::string path = target.ReadLine();
  HostPort host;
  ASSERT_TRUE(host.Open(path, 9600));
  EXPECT_EQ(host.Read(3), (Bytes{0x13, 0x00, 0x7F}));
}

TEST(PtyProgram, HangUpDropsTheLineAndEndsTheProgram) {
  TargetProcess target({"--quiet", "--erase-ms", "10", "--fault-hang-up", "1"});
  const std::string path = target.ReadLine();
  HostPort host;
  ASSERT_TRUE(host.Open(path, 19200));
  StartClassicJob(host);
  EXPECT_EQ(host.Exchange(Join({0x55, 0x00, 0x00, 0x00}, Block(2)), 1), Bytes{0xAA});
  EXPECT_EQ(target.Wait(), 0);
  std::uint8_t b;
  EXPECT_LE(::read(host.fd(), &b, 1), 0);
}

TEST(PtyProgram, StopSignalEndsCleanlyWithADump) {
  const std::string dump = TempPath("stop.bin");
  std::filesystem::remove(dump);
  TargetProcess target({"--quiet", "--dump", dump, "--flash-size", "256"});
  ASSERT_FALSE(target.ReadLine().empty());
  target.Signal(SIGTERM);
  EXPECT_EQ(target.Wait(), 0);
  EXPECT_EQ(std::filesystem::file_size(dump), 256u);
  std::filesystem::remove(dump);
}

TEST(PtyProgram, UsageErrorsExitWith64AndOneLine) {
  TargetProcess bad({"--jobs", "none"});
  EXPECT_EQ(bad.Wait(), 64);
  const std::string err = bad.Stderr();
  EXPECT_NE(err.find("--jobs"), std::string::npos);
  EXPECT_EQ(err.find('\n'), err.size() - 1);

  TargetProcess help({"--help"});
  EXPECT_EQ(help.Wait(), 0);
  EXPECT_NE(help.Stdout().find("--fault-hang-up"), std::string::npos);
  TargetProcess version({"--version"});
  EXPECT_EQ(version.Wait(), 0);
  EXPECT_EQ(version.Stdout().rfind("vantrel-target ", 0), 0u);
}

}  // namespace
