#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "simulator/inquiry_boot_loader.h"
#include "simulator/inquiry_fixture.h"
#include "simulator/model_harness.h"
#include "simulator/program_options.h"

namespace vantrel::testing {
namespace {

struct LineFaultCase {
  const char* name;
  std::vector<std::string_view> args;
  // What an inquiry host sees after sync and handshake: the answers to 0x20 and then 0x21,
  // taken at once and again after 2 s.
  std::size_t firstAnswerNow;
  std::size_t secondAnswerNow;
  std::size_t allAfterTwoSeconds;
};

// The answers of the sample device: 28 bytes to 0x20, 6 to 0x21.
constexpr std::size_t kDevices = 28;
constexpr std::size_t kModes = 6;

class LineFaults : public ::testing::TestWithParam<LineFaultCase> {};

TEST_P(LineFaults, ReachTheModelAndActOnTheAnswers) {
  const auto& c = GetParam();
  std::vector<std::string_view> args{"--protocol", "inquiry"};
  args.insert(args.end(), c.args.begin(), c.args.end());
  const auto parsed = simulator::ParseProgramOptions(args);
  ASSERT_TRUE(parsed.options) << parsed.error;
  ModelHarness h(parsed.options->target);
  ASSERT_EQ(h.Sync(), (Bytes{0x00, 0xE6}));  // bytes 1 and 2
  EXPECT_EQ(h.Send({0x20}).size(), c.firstAnswerNow);
  EXPECT_EQ(h.Send({0x21}).size(), c.secondAnswerNow);
  h.WaitMs(2000);
  EXPECT_EQ(h.Take().size(), c.allAfterTwoSeconds - c.firstAnswerNow - c.secondAnswerNow);
}

INSTANTIATE_TEST_SUITE_P(
    Options, LineFaults,
    ::testing::Values(
        LineFaultCase{"None", {}, kDevices, kModes, kDevices + kModes},
        LineFaultCase{
            "DropOneMidFrame", {"--fault-drop", "5"}, kDevices - 1, kModes, kDevices - 1 + kModes},
        // Bytes 3 and 4 leave; the cut ends with the answer it fell in.
        LineFaultCase{"CutAFrameShort", {"--fault-cut=5"}, 2, kModes, 2 + kModes},
        LineFaultCase{
            "StallLongerThanTheWait", {"--fault-stall", "4,1500"}, 1, 0, kDevices + kModes},
        LineFaultCase{
            "StallOfZeroMs", {"--fault-stall", "4,0"}, kDevices, kModes, kDevices + kModes}),
    [](const auto& info) { return info.param.name; });

TEST(LineFaultOptions, BadValuesAreRefusedWithTheirReason) {
  for (const auto& [args, reason] :
       {std::pair<std::vector<std::string_view>, std::string>{{"--fault-drop", "0"},
                                                              "--fault-drop"},
        {{"--fault-cut", "x"}, "--fault-cut"},
        {{"--fault-stall", "5"}, "--fault-stall: '5' is not a count from 1 and a time in ms"},
        {{"--fault-stall", "0,100"}, "--fault-stall"},
        {{"--fault-stall", "3,"}, "--fault-stall"},
        {{"--fault-hang-up", "0", "--protocol", "inquiry"}, "--fault-hang-up"}}) {
    const auto parsed = simulator::ParseProgramOptions(args);
    EXPECT_FALSE(parsed.options) << reason;
    EXPECT_TRUE(parsed.error.starts_with(reason)) << parsed.error;
  }
  EXPECT_NE(simulator::ProgramHelp().find("--fault-stall K,MS"), std::string::npos);
}

TEST(LineFaultOptions, InquiryHangUpDropsTheLineAfterAnsweringItsFrame) {
  const auto parsed = simulator::ParseProgramOptions(
      std::vector<std::string_view>{"--protocol", "inquiry", "--fault-hang-up", "2"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  simulator::Flash flash(parsed.options->target.flashBase, parsed.options->target.flashSize);
  auto loader = parsed.options->target.makeLoader(flash);
  auto& inquiry = static_cast<simulator::InquiryBootLoader&>(*loader);
  simulator::testing::RecordingLine line;
  std::uint64_t now = 0;
  auto feed = [&](const Bytes& bytes) {
    for (auto b : bytes) inquiry.OnByte(b, now += 1000, line);
  };
  feed(simulator::testing::Frame(0x10, simulator::testing::Code("VT01")));
  feed(simulator::testing::Frame(0x11, {0x00}));
  feed(simulator::testing::kBitRate115200);
  inquiry.Advance(now += 5000, line);
  feed({0x06, 0x40});
  inquiry.Advance(now += 1'000'000, line);
  feed({0x43});
  line.Take();
  feed(simulator::testing::ProgramFrame(0, Bytes(128, 0x11)));
  EXPECT_FALSE(line.hungUp);
  feed(simulator::testing::ProgramFrame(0x80, Bytes(128, 0x22)));
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x06}));
  EXPECT_TRUE(line.hungUp);
}

}  // namespace
}  // namespace vantrel::testing
