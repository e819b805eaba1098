// The Windows serial device under Wine, on a COM port mapped onto a pseudo-terminal this test
// drives: every byte value both ways, a bounded wait for input that keeps what it saw.
#include <gtest/gtest.h>

#include <unistd.h>

#include <iostream>
#include <vector>

#include "e2e/cli_under_test.h"
#include "platform/pty.h"
#include "support/child_process.h"

namespace vantrel::testing {
namespace {

TEST(WineSerialDevice, AllByteValuesBothWaysAndABoundedWaitForInput) {
  platform::PtyMaster line;
  std::string error;
  ASSERT_TRUE(line.Open(&error)) << error;
  CliPort port(line.slavePath());
  ASSERT_FALSE(port.name().empty());
  ChildProcess probe({std::string(VANTREL_SOURCE_DIR) + "/scripts/wine-run",
                      std::string(VANTREL_WINDOWS_BIN_DIR) + "/../tests/serial-probe.exe",
                      port.name()});
  std::vector<std::uint8_t> received;
  // Until the probe has opened the port the line reports no host; 20 s covers Wine's start.
  for (int i = 0; i < 400 && received.size() < 256; ++i) {
    const auto event = line.Wait(50);
    if (event != platform::PtyMaster::Event::Input) {
      if (event != platform::PtyMaster::Event::Timeout) ::usleep(50 * 1000);
      continue;
    }
    std::uint8_t buffer[512];
    const std::size_t n = line.Read(buffer);
    received.insert(received.end(), buffer, buffer + n);
  }
  ASSERT_EQ(received.size(), 256u) << probe.out();
  for (int i = 0; i < 256; ++i) ASSERT_EQ(received[i], i) << "byte " << i;
  ::usleep(300 * 1000);  // the probe's short wait runs out meanwhile
  EXPECT_EQ(line.Write(received, 2000), received.size());
  EXPECT_EQ(probe.Wait(30000), 0) << probe.out() << probe.err();
  EXPECT_NE(probe.out().find("sent=256 early=0"), std::string::npos) << probe.out();
  EXPECT_NE(probe.out().find("got=256 same=1"), std::string::npos) << probe.out();
  std::cout << "probe: " << probe.out();
}

}  // namespace
}  // namespace vantrel::testing
