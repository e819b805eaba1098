#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <vector>

#include "platform/pty.h"
#include "platform/serial_device.h"

namespace vantrel::platform {
namespace {

std::int64_t NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

struct Line {
  Line() {
    std::string error;
    opened = master.Open(&error);
  }
  PtyMaster master;
  bool opened = false;
  std::unique_ptr<SerialDevice> device = MakeSystemSerialDevice();
};

LineSettings At(std::uint32_t baud) {
  LineSettings s;
  s.baudRate = baud;
  return s;
}

class AnyRate : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(AnyRate, IsAppliedToTheDevice) {
  Line line;
  ASSERT_TRUE(line.opened);
  ASSERT_TRUE(line.device->Open(line.master.slavePath()));
  ASSERT_TRUE(line.device->Configure(At(GetParam())));
  EXPECT_EQ(line.master.HostBaud(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(StandardAndOdd, AnyRate,
                         ::testing::Values(2400u, 7200u, 9600u, 14400u, 28800u, 115200u),
                         ::testing::PrintToStringParamName());

TEST(PosixSerialDevice, ASecondOpenerIsRefusedUntilTheFirstCloses) {
  Line line;
  ASSERT_TRUE(line.opened);
  auto other = MakeSystemSerialDevice();
  ASSERT_TRUE(line.device->Open(line.master.slavePath()));
  EXPECT_FALSE(other->Open(line.master.slavePath()));
  line.device->Close();
  EXPECT_TRUE(other->Open(line.master.slavePath()));
}

// The exclusive mark belongs to the terminal and outlives a close while its other side is open;
// root passes it anyway, so a child that has root gives it up first.
TEST(PosixSerialDevice, AClosedPortOpensAgainForAnOrdinaryUserWhileTheLineStaysOpen) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(3);
    }
    Line line;
    if (!line.opened || !line.device->Open(line.master.slavePath())) ::_exit(4);
    line.device->Close();
    const bool again = line.device->Open(line.master.slavePath());
    line.device->Close();
    auto other = MakeSystemSerialDevice();
    ::_exit(again && other->Open(line.master.slavePath()) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: refused the second open (3, 4: set-up failed)";
}

TEST(PosixSerialDevice, MissingDeviceDoesNotOpen) {
  auto device = MakeSystemSerialDevice();
  EXPECT_FALSE(device->Open("/dev/no-such-serial-port"));
  EXPECT_FALSE(device->Open(""));
  EXPECT_FALSE(device->IsOpen());
}

TEST(PosixSerialDevice, APathThatCanNeverBeAPortIsToldFromOneThatMayYetCome) {
  Line line;
  ASSERT_TRUE(line.opened);
  const struct {
    std::string port;
    std::string why;  // empty: it may yet come
  } cases[] = {
      {line.master.slavePath(), ""},
      {"/dev/ttyUSB97", ""},                          // not plugged in yet
      {"/dev/serial/by-id/usb-none-if00-port0", ""},  // udev makes the folder with it
      {"COM9", ""},
      {"/etc/passwd", "/etc/passwd is a file, not a device"},
      {"/etc", "/etc is a folder, not a device"},
      {"/etc/passwd/tty", "/etc/passwd is a file, not a folder"},
      {"/no-such-folder/ttyUSB0", "the folder /no-such-folder does not exist"},
  };
  for (const auto& c : cases) EXPECT_EQ(NeverAPort(c.port), c.why) << c.port;
}

TEST(PosixSerialDevice, CarriesEveryByteValueRawBothWaysAndReadsNeverWait) {
  Line line;
  ASSERT_TRUE(line.opened);
  ASSERT_TRUE(line.device->Open(line.master.slavePath()));
  ASSERT_TRUE(line.device->Configure(At(19200)));
  EXPECT_TRUE(line.device->SetDtr(true)) << "a pty has no modem lines and is still a port";
  std::uint8_t buffer[512];
  const std::int64_t start = NowMs();
  EXPECT_EQ(line.device->Read(buffer), 0u);
  EXPECT_LT(NowMs() - start, 50);

  std::vector<std::uint8_t> all(256);
  for (int i = 0; i < 256; ++i) all[i] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(line.device->SetWriteTimeout(1, 500));
  ASSERT_EQ(line.device->Write(all), all.size());
  std::vector<std::uint8_t> got;
  for (int i = 0; i < 100 && got.size() < all.size(); ++i) {
    line.master.Wait(20);
    const std::size_t n = line.master.Read(buffer);
    got.insert(got.end(), buffer, buffer + n);
  }
  EXPECT_EQ(got, all);

  ASSERT_EQ(line.master.Write(all, 1000), all.size());
  got.clear();
  for (int i = 0; i < 100 && got.size() < all.size(); ++i) {
    const std::size_t n = line.device->Read(buffer);
    got.insert(got.end(), buffer, buffer + n);
    if (n == 0) ::usleep(5000);
  }
  EXPECT_EQ(got, all);
}

TEST(PosixSerialDevice, WaitForInputWakesOnInputAndOnAHungUpLine) {
  Line line;
  ASSERT_TRUE(line.opened);
  ASSERT_TRUE(line.device->Open(line.master.slavePath()));
  ASSERT_TRUE(line.device->Configure(At(115200)));
  EXPECT_GE(line.device->PollHandle(), 0);
  std::int64_t start = NowMs();
  EXPECT_FALSE(line.device->WaitForInput(100));
  EXPECT_GE(NowMs() - start, 90);
  const std::uint8_t one[1] = {0x42};
  ASSERT_EQ(line.master.Write(one, 1000), 1u);
  start = NowMs();
  EXPECT_TRUE(line.device->WaitForInput(2000));
  EXPECT_LT(NowMs() - start, 1000);
  std::uint8_t buffer[4];
  EXPECT_EQ(line.device->Read(buffer), 1u);
  // The far end is gone: the wait ends at once, and the caller's time-outs with it.
  line.master.Close();
  start = NowMs();
  EXPECT_FALSE(line.device->WaitForInput(1000));
  EXPECT_LT(NowMs() - start, 500);
  EXPECT_TRUE(line.device->LineLost());
}

TEST(PosixSerialDevice, AWriteNobodyTakesGivesUpAfterTheWriteTimeOut) {
  Line line;
  ASSERT_TRUE(line.opened);
  ASSERT_TRUE(line.device->Open(line.master.slavePath()));
  ASSERT_TRUE(line.device->Configure(At(115200)));
  ASSERT_TRUE(line.device->SetWriteTimeout(0, 300));
  const std::vector<std::uint8_t> big(4 << 20, 0x5A);  // more than any pty buffer holds
  const std::int64_t start = NowMs();
  const std::size_t written = line.device->Write(big);
  const std::int64_t took = NowMs() - start;
  EXPECT_LT(written, big.size());
  EXPECT_GE(took, 250);
  EXPECT_LT(took, 2000);
}

}  // namespace
}  // namespace vantrel::platform
