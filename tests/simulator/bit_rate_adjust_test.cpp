#include <gtest/gtest.h>

#include "simulator/classic_boot_loader.h"
#include "simulator/model_harness.h"

namespace vantrel::testing {
namespace {

using simulator::TargetModel;
using Mode = TargetModel::Mode;

TEST(BitRateAdjust, ThirdZeroIsAnsweredOnceAndHandshakeGivesClassicAnswer) {
  ModelHarness h;
  EXPECT_EQ(h.Send({0x00}), Bytes{});
  EXPECT_EQ(h.Send({0x00}), Bytes{});
  EXPECT_EQ(h.Send({0x00}), Bytes{0x00});
  EXPECT_EQ(h.model.ListeningBaud(), 9600u);
  // The host keeps sending zeros until it has read the answer; they are ignored.
  EXPECT_EQ(h.Send({0x00, 0x00}), Bytes{});
  EXPECT_EQ(h.Send({0x55}), Bytes{0xAA});
  EXPECT_EQ(h.model.mode(), Mode::Loader);
}

TEST(BitRateAdjust, ZerosAtANewRateStartTheCountAgain) {
  ModelHarness h;
  EXPECT_EQ(h.Send({0x00, 0x00}, 9600), Bytes{});
  EXPECT_EQ(h.Send({0x00, 0x00}, 19200), Bytes{});
  EXPECT_EQ(h.Send({0x00}, 19200), Bytes{0x00});
  EXPECT_EQ(h.model.ListeningBaud(), 19200u);
}

TEST(BitRateAdjust, AnyOtherByteBreaksTheRunOfZeros) {
  ModelHarness h;
  EXPECT_EQ(h.Send({0x00, 0x00, 0x13, 0x00, 0x00}), Bytes{});
  EXPECT_EQ(h.Send({0x00}), Bytes{0x00});
}

TEST(BitRateAdjust, HandshakeAtAnotherRateIsNotUnderstood) {
  ModelHarness h;
  EXPECT_EQ(h.Send({0x00, 0x00, 0x00}, 9600), Bytes{0x00});
  EXPECT_EQ(h.Send({0x55}, 19200), Bytes{});
  EXPECT_EQ(h.model.mode(), Mode::Handshake);
  EXPECT_EQ(h.Send({0x55}, 9600), Bytes{0xAA});
}

TEST(BitRateAdjust, PortAtRateZeroCarriesNothing) {
  ModelHarness h;
  EXPECT_EQ(h.Send({0x00, 0x00, 0x00, 0x00}, 0), Bytes{});
  EXPECT_EQ(h.model.mode(), Mode::BitRateAdjust);
}

TEST(BitRateAdjust, HostListeningAtAnotherRateReadsGarbage) {
  ModelHarness h;
  h.model.Receive(Bytes{0x00, 0x00, 0x00}, 19200, h.now);
  // 0x00 at 19200 read at 9600 is the high-bits pattern, never the zero the host waits for.
  EXPECT_EQ(h.Take(9600), Bytes{0xF8});
}

// A loader that records what reaches it and ends the job on 0xFF.
class RecordingLoader final : public simulator::BootLoader {
 public:
  explicit RecordingLoader(Bytes& seen) : seen_(seen) {}
  std::uint8_t HandshakeAnswer() const override { return 0xE6; }
  void OnByte(std::uint8_t byte, std::uint64_t, simulator::Line& line) override {
    seen_.push_back(byte);
    if (byte == 0x20) line.Send(0x30);
    ended_ = byte == 0xFF;
  }
  void Advance(std::uint64_t, simulator::Line&) override {}
  bool JobEnded() const override { return ended_; }

 private:
  Bytes& seen_;
  bool ended_ = false;
};

TEST(BitRateAdjust, GivenLoaderAnswersHandshakeAndGetsTheFollowingBytes) {
  Bytes seen;
  int made = 0;
  simulator::TargetOptions options;
  options.makeLoader = [&](simulator::Flash&) {
    ++made;
    return std::make_unique<RecordingLoader>(seen);
  };
  ModelHarness h(options);
  EXPECT_EQ(h.Sync(), (Bytes{0x00, 0xE6}));
  EXPECT_EQ(h.Send({0x20, 0x11}), Bytes{0x30});
  EXPECT_EQ(seen, (Bytes{0x20, 0x11}));
  EXPECT_FALSE(h.model.TakeJobEnded());

  EXPECT_EQ(h.Send({0xFF}), Bytes{});
  EXPECT_TRUE(h.model.TakeJobEnded());
  EXPECT_FALSE(h.model.TakeJobEnded());
  // Back in boot mode with a fresh loader: the next job syncs again.
  EXPECT_EQ(h.model.mode(), Mode::BitRateAdjust);
  EXPECT_EQ(made, 2);
  EXPECT_EQ(h.Sync(19200), (Bytes{0x00, 0xE6}));
}

TEST(BitRateAdjust, ResetReturnsToBootModeAndDropsPendingAnswers) {
  ModelHarness h;
  h.model.Receive(Bytes{0x00, 0x00, 0x00}, 9600, h.now);
  EXPECT_EQ(h.model.PendingOutput(), 1u);
  h.model.Reset();
  EXPECT_EQ(h.model.PendingOutput(), 0u);
  EXPECT_EQ(h.model.mode(), Mode::BitRateAdjust);
  EXPECT_EQ(h.Sync(), (Bytes{0x00, 0xAA}));
}

struct SyncFaultCase {
  const char* name;
  void (*apply)(simulator::TargetOptions&);
  Bytes expected;  // the answers to three zeros, then 0x55
};

class SyncFaults : public ::testing::TestWithParam<SyncFaultCase> {};

TEST_P(SyncFaults, HostSeesTheFault) {
  simulator::TargetOptions options;
  GetParam().apply(options);
  ModelHarness h(options);
  Bytes got = h.Send({0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
  got = Concat(got, h.Send({0x55}));
  EXPECT_EQ(got, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Target, SyncFaults,
    ::testing::Values(SyncFaultCase{"none", [](simulator::TargetOptions&) {}, {0x00, 0xAA}},
                      SyncFaultCase{"never_answers_sync",
                                    [](simulator::TargetOptions& o) { o.noSync = true; },
                                    {}},
                      SyncFaultCase{"wrong_handshake",
                                    [](simulator::TargetOptions& o) { o.handshakeAnswer = 0xE6; },
                                    {0x00, 0xE6}},
                      SyncFaultCase{"fewer_zeros",
                                    [](simulator::TargetOptions& o) { o.syncZeros = 1; },
                                    {0x00, 0xAA}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BitRateAdjust, NoiseArrivesWhenTheHostOpensBeforeItsFirstByte) {
  simulator::TargetOptions options;
  options.noise = {0x00, 0xFF, 0x13};
  ModelHarness h(options);
  h.model.HostOpened(h.now);
  EXPECT_EQ(h.Take(), (Bytes{0x00, 0xFF, 0x13}));
  // A second open before any byte is noisy again; after the host has spoken it is not.
  h.model.HostOpened(h.now);
  EXPECT_EQ(h.Take().size(), 3u);
  EXPECT_EQ(h.Send({0x00}), Bytes{});
  h.model.HostOpened(h.now);
  EXPECT_EQ(h.Take(), Bytes{});
}

}  // namespace
}  // namespace vantrel::testing
