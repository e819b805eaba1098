#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/board/traced_device.h"
#include "cli/records/trace_log.h"
#include "support/lines.h"
#include "support/scripted_device.h"
#include "support/temp_folder.h"

namespace vantrel::cli {
namespace {

TEST(TraceLog, SaysWhyALineDidNotReachTheFile) {
#ifdef _WIN32
  GTEST_SKIP() << "no device that is always full";
#endif
  std::string error;
  auto log = TraceLog::Open("/dev/full", error);
  ASSERT_TRUE(log) << error;
  const std::uint8_t bytes[] = {0x00};
  log->Write({0, "", 9600, 2, true, bytes});
  EXPECT_NE(log->Error(), "");
}

TEST(TracedDevice, OneLinePerRunOfBytesInOneDirectionAndStep) {
  testing::TempFolder folder;
  const std::string path = folder.PathOf("trace.txt");
  std::string error;
  auto log = TraceLog::Open(path, error);
  ASSERT_TRUE(log) << error;
  testing::ScriptedDevice::State line;
  std::int32_t step = 2;
  {
    TracedDevice device(std::make_unique<testing::ScriptedDevice>(line), *log, "",
                        [&] { return step; });
    ASSERT_TRUE(device.Open("X"));
    platform::LineSettings settings;
    settings.baudRate = 9600;
    ASSERT_TRUE(device.Configure(settings));
    const std::uint8_t zero[] = {0x00};
    std::uint8_t buffer[8];
    device.Write(zero);
    EXPECT_EQ(device.Read(buffer), 0u);  // nothing came: the run goes on
    device.Write(zero);
    line.Feed({0x00});
    device.Read(buffer);
    step = 4;
    line.Feed({0xAA});
    device.Read(buffer);  // a new step starts a new line
    const std::uint8_t length[] = {0x01, 0x23};
    device.Write(length);
    settings.baudRate = 38400;
    device.Configure(settings);
    device.Write(zero);
  }  // the last run is written when the device goes
  log.reset();
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  const auto lines = testing::Lines(text.str());
  ASSERT_EQ(lines.size(), 5u) << text.str();
  const char* tails[] = {"9600 baud  step   2 adjust   > 00 00",
                         "9600 baud  step   2 adjust   < 00", "9600 baud  step   4 transfer < AA",
                         "9600 baud  step   4 transfer > 01 23",
                         "38400 baud  step   4 transfer > 00"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].ends_with(tails[i])) << lines[i];
  }
}

TEST(TraceLog, AFileThatCannotBeCreatedIsRefusedWithTheReason) {
  std::string error;
  EXPECT_FALSE(TraceLog::Open("/no/such/folder/trace.txt", error));
  EXPECT_NE(error.find("/no/such/folder/trace.txt"), std::string::npos);
}

}  // namespace
}  // namespace vantrel::cli
