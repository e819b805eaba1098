#include "simulator/in_process_device.h"

#include <gtest/gtest.h>

#include <memory>

#include "serial/comm_ctrl.h"
#include "simulator/model_harness.h"
#include "support/fake_clock.h"

namespace vantrel::testing {
namespace {

// A host port on a fake clock whose far end is the simulated target.
struct HostOnModel {
  explicit HostOnModel(simulator::TargetOptions options = {}, std::uint32_t startMs = 5000)
      : clock(startMs), model(std::move(options)) {
    port.SetPortName("SIM");
  }
  bool OpenAt(std::uint32_t baud) {
    port.Close();
    port.SetBaudRate(baud);
    return port.Open();
  }
  // Everything that has arrived by now.
  Bytes Drain() {
    Bytes got;
    for (int b = port.GetByte(); b >= 0; b = port.GetByte())
      got.push_back(static_cast<std::uint8_t>(b));
    return got;
  }
  void Put(const Bytes& bytes) {
    for (auto b : bytes) EXPECT_EQ(port.PutByte(b), b);
  }

  FakeClock clock;
  simulator::TargetModel model;
  CommCtrl port{std::make_unique<simulator::InProcessDevice>(model, clock)};
};

TEST(InProcessDevice, HostSyncsAndTransfersThroughCommCtrl) {
  HostOnModel host;
  ASSERT_TRUE(host.OpenAt(9600));
  EXPECT_EQ(host.port.status(), PortStatus::Open);
  host.Put({0x00, 0x00, 0x00});
  EXPECT_EQ(host.Drain(), Bytes{0x00});
  host.Put({0x55});
  EXPECT_EQ(host.Drain(), Bytes{0xAA});
  host.Put({0x00, 0x01, 0x42});
  EXPECT_EQ(host.Drain(), (Bytes{0x00, 0x01, 0x42}));
  host.clock.Advance(1499);
  EXPECT_EQ(host.port.GetByte(), -1);
  host.clock.Advance(1);
  EXPECT_EQ(host.port.GetByte(), 0xAA);
}

TEST(InProcessDevice, WaitingOnThePortRunsTheClockUntilTheAnswerIsDue) {
  simulator::TargetOptions options;
  options.pacing = true;
  HostOnModel host(options);
  ASSERT_TRUE(host.OpenAt(9600));
  host.Put({0x00, 0x00, 0x00});
  // Three zeros in and one out at 9600 baud: about 1 ms each on the line.
  const std::uint32_t start = host.clock.NowMs();
  EXPECT_TRUE(host.port.WaitForInput(500, host.clock));
  EXPECT_EQ(host.clock.NowMs() - start, 5u);
  EXPECT_EQ(host.Drain(), Bytes{0x00});
  EXPECT_FALSE(host.port.WaitForInput(300, host.clock)) << "nothing more comes";
  EXPECT_EQ(host.clock.NowMs() - start, 305u);
}

TEST(InProcessDevice, ReopeningAtTheProgrammingRateReachesTheProgram) {
  simulator::TargetOptions options;
  options.classic.programmingBaud = 57600;
  options.classic.eraseMs = 100;
  HostOnModel host(options);
  ASSERT_TRUE(host.OpenAt(19200));
  host.Put({0x00, 0x00, 0x00, 0x55, 0x00, 0x00});
  EXPECT_EQ(host.Drain(), (Bytes{0x00, 0xAA, 0x00, 0x00}));
  host.clock.Advance(100);
  EXPECT_EQ(host.Drain(), Bytes{0xAA});

  // Still at the boot rate the program cannot make out the command.
  host.Put(Concat({0x55, 0x00, 0x00, 0x00}, Block(128, 1)));
  EXPECT_EQ(host.Drain(), Bytes{});
  host.model.Reset();
  ASSERT_TRUE(host.OpenAt(19200));
  host.Put({0x00, 0x00, 0x00, 0x55, 0x00, 0x00});
  host.clock.Advance(100);
  EXPECT_EQ(host.Drain(), (Bytes{0x00, 0xAA, 0x00, 0x00, 0xAA}));
  ASSERT_TRUE(host.OpenAt(57600));
  host.Put(Concat({0x55, 0x00, 0x00, 0x00}, Block(128, 1)));
  EXPECT_EQ(host.Drain(), Bytes{0xAA});
  EXPECT_EQ(host.model.flash().At(1), Block(128, 1)[1]);
}

TEST(InProcessDevice, AnswersSentWhileThePortIsClosedAreLost) {
  HostOnModel host;
  ASSERT_TRUE(host.OpenAt(9600));
  host.Put({0x00, 0x00, 0x00, 0x55, 0x00, 0x00});
  host.port.Close();
  host.clock.Advance(2000);  // the erase answer goes out now
  ASSERT_TRUE(host.OpenAt(9600));
  EXPECT_EQ(host.Drain(), Bytes{});
}

TEST(InProcessDevice, NoiseIsWaitingWhenTheHostOpens) {
  simulator::TargetOptions options;
  options.noise = {0x00, 0x5A};
  HostOnModel host(options);
  ASSERT_TRUE(host.OpenAt(9600));
  EXPECT_EQ(host.Drain(), (Bytes{0x00, 0x5A}));
}

TEST(InProcessDevice, HungUpTargetRefusesTheLine) {
  simulator::TargetOptions options;
  options.classic.faults.hangUpAfterBlock = 1;
  options.classic.eraseMs = 0;
  HostOnModel host(options);
  ASSERT_TRUE(host.OpenAt(9600));
  host.Put({0x00, 0x00, 0x00, 0x55, 0x00, 0x00});
  host.clock.Advance(10);
  EXPECT_EQ(host.Drain(), (Bytes{0x00, 0xAA, 0x00, 0x00, 0xAA}));
  host.Put(Concat({0x55, 0x00, 0x00, 0x00}, Block(128, 1)));
  EXPECT_EQ(host.Drain(), Bytes{0xAA});
  EXPECT_EQ(host.port.PutByte(0x55), -1);
  host.port.Close();
  EXPECT_FALSE(host.port.Open());
}

TEST(InProcessDevice, PacedAnswersFollowTheFakeClockAcrossItsWrap) {
  simulator::TargetOptions options;
  options.pacing = true;
  options.classic.eraseMs = 30;
  HostOnModel host(options, 0xFFFFFFF0u);
  ASSERT_TRUE(host.OpenAt(9600));
  host.Put({0x00, 0x00, 0x00});
  EXPECT_EQ(host.Drain(), Bytes{});
  host.clock.Advance(5);  // four characters at 9600 take 4.2 ms
  EXPECT_EQ(host.Drain(), Bytes{0x00});
  host.Put({0x55, 0x00, 0x00});
  host.clock.Advance(5);
  EXPECT_EQ(host.Drain(), (Bytes{0xAA, 0x00, 0x00}));
  host.clock.Advance(29);  // the clock has wrapped; the answer is still on the line
  EXPECT_EQ(host.Drain(), Bytes{});
  host.clock.Advance(3);
  EXPECT_EQ(host.Drain(), Bytes{0xAA});
}

}  // namespace
}  // namespace vantrel::testing
