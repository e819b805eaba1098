#include "serial/comm_ctrl.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <tuple>

#include "core/step.h"
#include "serial/open_port.h"
#include "support/case_name.h"
#include "support/step_fixture.h"

namespace vantrel::testing {
namespace {

struct Port {
  ScriptedDevice::State line;
  CommCtrl port{std::make_unique<ScriptedDevice>(line)};
};

struct TextSetterCase {
  const char* setter;
  const char* text;
  bool result;
  int stored;
};

class TextSetters : public ::testing::TestWithParam<TextSetterCase> {};

TEST_P(TextSetters, StoreWhatTheyRecogniseAndFallBackOtherwise) {
  const auto& c = GetParam();
  Port p;
  p.port.SetByteSize(std::uint8_t{7});
  p.port.SetParity(std::uint8_t{3});
  p.port.SetStopBits(std::uint8_t{2});
  const std::string setter = c.setter;
  std::optional<bool> result;  // the baud rate takes any text
  int stored = -1;
  if (setter == "ByteSize") {
    result = p.port.SetByteSize(std::string_view(c.text));
    stored = p.port.settings().byteSize;
  } else if (setter == "Parity") {
    result = p.port.SetParity(std::string_view(c.text));
    stored = p.port.settings().parity;
  } else if (setter == "StopBits") {
    result = p.port.SetStopBits(std::string_view(c.text));
    stored = p.port.settings().stopBits;
  } else {
    p.port.SetBaudRate(std::string_view(c.text));
    stored = static_cast<int>(p.port.settings().baudRate);
  }
  if (result) {
    EXPECT_EQ(*result, c.result);
  }
  EXPECT_EQ(stored, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextSetters,
    ::testing::Values(
        TextSetterCase{"ByteSize", "8", true, 8}, TextSetterCase{"ByteSize", "4", true, 4},
        TextSetterCase{"ByteSize", "6", false, 7},   // refused, kept
        TextSetterCase{"ByteSize", "264", true, 8},  // modulo 256
        TextSetterCase{"ByteSize", "x", false, 7}, TextSetterCase{"Parity", "even", true, 2},
        TextSetterCase{"Parity", "SpAcE", true, 4}, TextSetterCase{"Parity", "EVENT", false, 0},
        TextSetterCase{"Parity", "", false, 0}, TextSetterCase{"StopBits", "1.5", true, 1},
        TextSetterCase{"StopBits", "2", true, 2}, TextSetterCase{"StopBits", "3", false, 0},
        TextSetterCase{"BaudRate", "115200", true, 115200},
        TextSetterCase{"BaudRate", "  7200bps", true, 7200},
        TextSetterCase{"BaudRate", "fast", true, 0}),
    [](const auto& info) {
      return testing::Identifier(std::string(info.param.setter) + "_" + info.param.text);
    });

struct CharTimeCase {
  std::uint32_t baud;
  std::uint8_t byteSize;
  std::uint8_t parity;
  std::uint8_t stopBits;
  std::uint32_t micros;
  std::uint32_t writeMultiplierMs;
};

class CharTimes : public ::testing::TestWithParam<CharTimeCase> {};

TEST_P(CharTimes, FollowTheAppliedSettingsAndSetTheWriteTimeOut) {
  const auto& c = GetParam();
  Port p;
  p.port.SetBaudRate(c.baud);
  p.port.SetByteSize(c.byteSize);
  p.port.SetParity(c.parity);
  p.port.SetStopBits(c.stopBits);
  ASSERT_TRUE(p.port.Open());
  EXPECT_EQ(p.port.CharTime(), c.micros);
  EXPECT_EQ(p.line.writeMultiplierMs, c.writeMultiplierMs);
  EXPECT_EQ(p.line.writeConstantMs, 500u);
}

INSTANTIATE_TEST_SUITE_P(Table, CharTimes,
                         ::testing::Values(CharTimeCase{19200, 8, 0, 0, 520, 1},
                                           CharTimeCase{2400, 8, 0, 0, 4166, 5},
                                           CharTimeCase{9600, 8, 2, 0, 1145, 2},
                                           CharTimeCase{9600, 7, 0, 1, 1041, 2},
                                           CharTimeCase{115200, 8, 0, 0, 86, 1}),
                         [](const auto& info) {
                           const auto& c = info.param;
                           return std::to_string(c.baud) + "_" + std::to_string(c.byteSize) +
                                  "NOEMS"[c.parity] +
                                  (c.stopBits == 0   ? "1"
                                   : c.stopBits == 1 ? "15"
                                                     : "2");
                         });

TEST(CommCtrl, CharTimeBeforeAnyOpenOrAtRate0Is4000) {
  Port p;
  EXPECT_EQ(p.port.CharTime(), 4000u);
  p.port.SetBaudRate(std::uint32_t{0});
  ASSERT_TRUE(p.port.Open());
  EXPECT_EQ(p.port.CharTime(), 4000u);
}

TEST(CommCtrl, OpenRaisesDtrAndRtsAndCloseDropsThem) {
  Port p;
  ASSERT_TRUE(p.port.Open());
  EXPECT_TRUE(p.line.dtr && p.line.rts);
  EXPECT_EQ(p.port.status(), PortStatus::Open);
  p.port.Close();
  EXPECT_FALSE(p.line.dtr || p.line.rts);
  p.port.Close();
  EXPECT_EQ(p.line.closes, 1);
}

TEST(CommCtrl, AHalfOpenPortSendsNothingAndIsReleasedByClose) {
  Port p;
  p.line.failConfigure = true;
  EXPECT_FALSE(p.port.Open());
  EXPECT_TRUE(p.line.open);
  EXPECT_EQ(p.port.PutByte(0x55), -1);
  EXPECT_EQ(p.port.Write(std::vector<std::uint8_t>{1, 2}), 0u);
  p.line.Feed({1});
  EXPECT_EQ(p.port.GetByte(), -1);
  p.line.dtr = true;  // as the device left it
  p.port.Close();
  EXPECT_FALSE(p.line.open);
  EXPECT_TRUE(p.line.dtr) << "a half-open port does not touch the modem lines";
  EXPECT_TRUE(p.line.written.empty());
}

TEST(CommCtrl, GetByteHandsOutBufferedBytesAndNothingFromBeforeAReopen) {
  Port p;
  ASSERT_TRUE(p.port.Open());
  EXPECT_EQ(p.port.GetByte(), -1);
  p.line.Feed({0x00, 0xFF, 0x7E});
  EXPECT_EQ(p.port.GetByte(), 0x00);
  EXPECT_EQ(p.port.GetByte(), 0xFF);
  p.port.Close();
  ASSERT_TRUE(p.port.Open());
  EXPECT_EQ(p.port.GetByte(), -1) << "the byte buffered before the reopen is dropped";
  EXPECT_EQ(p.port.PutByte(0xFF), 0xFF);
}

TEST(CommCtrl, ClosedPortRefusesEveryTransfer) {
  Port p;
  EXPECT_EQ(p.port.PutByte(1), -1);
  EXPECT_EQ(p.port.GetByte(), -1);
  std::uint8_t buffer[4];
  EXPECT_EQ(p.port.Read(buffer), 0u);
}

TEST(CommCtrl, ActivityTellsAReadThatFoundNothingFromOneThatGotBytes) {
  Port p;
  EXPECT_EQ(p.port.GetByte(), -1);  // closed: nothing, and counted as such
  ASSERT_TRUE(p.port.Open());
  p.line.Feed({1, 2});
  p.port.GetByte();
  p.port.GetByte();  // from the buffer: the device is not asked again
  p.port.GetByte();
  p.port.Write(std::vector<std::uint8_t>{7, 8, 9});
  EXPECT_EQ(p.port.activity().emptyReads, 2u);
  EXPECT_EQ(p.port.activity().bytesReceived, 2u);
  EXPECT_EQ(p.port.activity().bytesSent, 3u);
}

TEST(CommCtrl, WaitForInputSeesBufferedBytesAndLetsTimePassOnAClosedPort) {
  Port p;
  FakeClock clock(100);
  EXPECT_FALSE(p.port.WaitForInput(40, clock));
  EXPECT_EQ(clock.NowMs(), 140u) << "a closed port only lets the time pass";
  EXPECT_EQ(p.port.PollHandle(), -1);
  ASSERT_TRUE(p.port.Open());
  p.line.Feed({1, 2});
  p.port.GetByte();
  EXPECT_TRUE(p.port.WaitForInput(40, clock)) << "the second byte is already buffered";
  EXPECT_EQ(clock.NowMs(), 140u);
}

// A write the open port did not take whole, or a device that lost its line, ends the job's waits;
// a closed port's refusals leave the window its time-outs. A reopen starts clean.
TEST(CommCtrl, ALostLineIsKeptUntilTheNextOpen) {
  // Whether the device takes bytes, whether it loses its line, whether the port is closed first.
  const std::tuple<const char*, bool, bool, bool, bool> cases[] = {
      {"all taken", true, false, false, false},
      {"writes refused", false, false, false, true},
      {"device lost its line", true, true, false, true},
      {"closed port", true, false, true, false}};
  for (const auto& [name, takes, deviceLost, closed, lost] : cases) {
    Port p;
    ASSERT_TRUE(p.port.Open());
    if (closed) p.port.Close();
    p.line.open = takes;  // a device that is gone refuses every write
    p.port.PutByte(0x55);
    p.port.Write(std::vector<std::uint8_t>{1, 2, 3});
    p.line.lineLost = deviceLost;
    EXPECT_EQ(p.port.LineLost(), lost) << name;
    p.port.Close();
    EXPECT_TRUE(p.port.Open() && !p.port.LineLost()) << name;
  }
}

struct OpenPortCase {
  bool failOpen;
  bool announce;
  std::vector<std::string> events;
};

class OpenPorts : public ::testing::TestWithParam<OpenPortCase> {};

TEST_P(OpenPorts, AnnounceFailuresAlwaysAndSuccessOnlyWhenAsked) {
  const auto& c = GetParam();
  StepFixture f;
  f.port.Close();
  f.line.failOpen = c.failOpen;
  f.controls.ComboBoxComPort.text = "/dev/ttyUSB3";
  OpenPort(f.port, f.window, f.controls.ComboBoxComPort.text, "115200", c.announce);
  EXPECT_EQ(f.host.events, c.events);
  if (!c.failOpen) {
    EXPECT_EQ(f.line.portName, "/dev/ttyUSB3");
    EXPECT_EQ(f.line.settings.baudRate, 115200u);
    EXPECT_EQ(f.line.settings.byteSize, 8);
    EXPECT_EQ(f.line.settings.parity, 0);
    EXPECT_EQ(f.line.settings.stopBits, 0);
    EXPECT_EQ(f.line.settings.xonChar, 0x11);
    EXPECT_EQ(f.line.settings.xoffChar, 0x13);
    EXPECT_FALSE(f.line.settings.outX || f.line.settings.inX);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, OpenPorts,
    ::testing::Values(OpenPortCase{false, false, {}},
                      OpenPortCase{false, true, {"beep", "box:　ＣＯＭポート初期化 ＯＫ　"}},
                      OpenPortCase{true, false, {"beep", "box:　ＣＯＭポート初期化 ＮＧ　"}}),
    [](const auto& info) {
      return info.param.failOpen ? "Failed" : info.param.announce ? "Announced" : "Silent";
    });

TEST(OpenPort, ReopeningLeavesOneOpenHandle) {
  StepFixture f;
  OpenPort(f.port, f.window, f.controls.ComboBoxComPort.text, "9600", false);
  OpenPort(f.port, f.window, f.controls.ComboBoxComPort.text, "9600", false);
  EXPECT_TRUE(f.line.open);
  EXPECT_EQ(f.line.opens - f.line.closes, 1);
}

TEST(PortNames, TheSystemsOwnNamesOpen) {
  const struct {
    const char* name;
    const char* opened;
  } cases[] = {
#ifdef _WIN32
      // COM10 and above open only through the device namespace.
      {"COM1", "\\\\.\\COM1"},
      {"COM12", "\\\\.\\COM12"},
      {"\\\\.\\COM12", "\\\\.\\COM12"},
      {"", ""},
#else
      {"COM1", "/dev/ttyS0"},
      {"COM12", "/dev/ttyS11"},
      {"com3", "/dev/ttyS2"},
      {"Com3", "/dev/ttyS2"},
      {"/dev/serial/by-id/usb-adapter-if00-port0", "/dev/serial/by-id/usb-adapter-if00-port0"},
      {"COM", "COM"},
      {"COM0", "COM0"},
#endif
  };
  for (const auto& c : cases) EXPECT_EQ(platform::ResolvePortName(c.name), c.opened) << c.name;
}

}  // namespace
}  // namespace vantrel::testing
