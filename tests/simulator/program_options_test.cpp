#include "simulator/program_options.h"

#include <gtest/gtest.h>

#include "simulator/device_description.h"
#include "simulator/flash_dump.h"
#include "support/case_name.h"

#include <string>
#include <vector>

namespace vantrel::simulator {
namespace {

ParsedOptions Parse(std::vector<std::string_view> args) {
  return ParseProgramOptions(args);
}

TEST(ProgramOptions, DefaultsServeClassicJobsForever) {
  const auto p = Parse({});
  ASSERT_TRUE(p.options);
  EXPECT_EQ(p.options->protocol, Protocol::Classic);
  EXPECT_EQ(p.options->jobs, 0u);
  EXPECT_FALSE(p.options->target.pacing);
  EXPECT_FALSE(p.options->target.makeLoader);
  EXPECT_EQ(p.options->target.classic.eraseMs, 1500u);
  EXPECT_EQ(p.options->target.classic.programmingBaud, kHostsRate);
}

TEST(ProgramOptions, ClassicSettingsAndFaultsReachTheModel) {
  const auto p = Parse({"--erase-ms",
                        "250",
                        "--prog-baud=38400",
                        "--block-size",
                        "256",
                        "--flash-base",
                        "0x20000",
                        "--flash-size",
                        "0x8000",
                        "--pacing",
                        "--dump",
                        "/tmp/x.bin",
                        "--link",
                        "/tmp/board",
                        "--jobs",
                        "2",
                        "--quiet",
                        "--fault-noise",
                        "0x00,0xFF,19",
                        "--fault-handshake",
                        "0xE6",
                        "--fault-erase-answer",
                        "none",
                        "--fault-block-nak",
                        "3",
                        "--fault-block-silent",
                        "4",
                        "--fault-hang-up",
                        "5",
                        "--fault-verify-address",
                        "6",
                        "--fault-verify-no-data",
                        "7",
                        "--fault-verify-data",
                        "8",
                        "--fault-drop-echo",
                        "9",
                        "--fault-corrupt-echo",
                        "10",
                        "--sync-zeros",
                        "5",
                        "--replug",
                        "250"});
  ASSERT_TRUE(p.options) << p.error;
  const auto& t = p.options->target;
  const auto& f = t.classic.faults;
  EXPECT_EQ(t.classic.eraseMs, 250u);
  EXPECT_EQ(t.classic.programmingBaud, 38400u);
  EXPECT_EQ(t.classic.blockSize, 256u);
  EXPECT_EQ(t.flashBase, 0x20000u);
  EXPECT_EQ(t.flashSize, 0x8000u);
  EXPECT_TRUE(t.pacing);
  EXPECT_EQ(p.options->dumpPath, "/tmp/x.bin");
  EXPECT_EQ(p.options->linkPath, "/tmp/board");
  EXPECT_EQ(p.options->jobs, 2u);
  EXPECT_EQ(p.options->replugMs, 250u);
  EXPECT_EQ(p.options->verbosity, 0);
  EXPECT_EQ(t.noise, (std::vector<std::uint8_t>{0x00, 0xFF, 19}));
  EXPECT_EQ(t.handshakeAnswer, 0xE6);
  EXPECT_TRUE(f.noEraseAnswer);
  EXPECT_EQ(t.syncZeros, 5u);
  const std::uint32_t counts[] = {f.nakBlock,       f.silentBlock,  f.hangUpAfterBlock,
                                  f.badAddressEcho, f.noVerifyData, f.flipVerifyByte,
                                  f.dropEcho,       f.corruptEcho};
  for (std::uint32_t i = 0; i < 8; ++i) EXPECT_EQ(counts[i], i + 3);
}

TEST(ProgramOptions, AReplugDumpsEachBoardBesideTheFileNamed) {
  const std::pair<const char*, const char*> cases[] = {{"/tmp/flash.bin", "/tmp/flash-2.bin"},
                                                       {"/tmp/a.b/flash", "/tmp/a.b/flash-2"},
                                                       {"/tmp/.flash", "/tmp/.flash-2"}};
  for (const auto& [path, second] : cases) EXPECT_EQ(BoardDumpPath(path, 2), second);
}

TEST(ProgramOptions, InquiryTakesItsFlashFromTheDeviceDescription) {
  const auto p = Parse({"--fault-mat-nak", "--erase-ms", "40", "--protocol", "inquiry"});
  ASSERT_TRUE(p.options) << p.error;
  EXPECT_EQ(p.options->protocol, Protocol::Inquiry);
  ASSERT_TRUE(p.options->target.makeLoader);
  const MemorySpan span = SampleDeviceDescription().UserMatSpan();
  EXPECT_EQ(p.options->target.flashBase, span.base);
  EXPECT_EQ(p.options->target.flashSize, span.size);
  Flash flash(span.base, span.size);
  EXPECT_EQ(p.options->target.makeLoader(flash)->HandshakeAnswer(), 0xE6);
}

struct BadCase {
  std::vector<std::string_view> args;
  std::string_view errorStart;
};

class ProgramOptionErrors : public ::testing::TestWithParam<BadCase> {};

TEST_P(ProgramOptionErrors, RefusedWithOneLineReason) {
  const auto p = Parse(GetParam().args);
  EXPECT_FALSE(p.options);
  EXPECT_TRUE(p.error.starts_with(GetParam().errorStart)) << p.error;
  EXPECT_EQ(p.error.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Target, ProgramOptionErrors,
    ::testing::Values(BadCase{{"--frobnicate"}, "unknown option --frobnicate"},
                      BadCase{{"--jobs"}, "--jobs needs a value"},
                      BadCase{{"--jobs", "0"}, "--jobs: '0'"},
                      BadCase{{"--pacing=yes"}, "--pacing takes no value"},
                      BadCase{{"--protocol", "modern"}, "--protocol: 'modern'"},
                      BadCase{{"--block-size", "512"}, "--block-size: '512'"},
                      BadCase{{"--flash-size", "0x2000000"}, "--flash-size"},
                      BadCase{{"--fault-handshake", "0x100"}, "--fault-handshake"},
                      BadCase{{"--fault-noise", "1,,2"}, "--fault-noise"},
                      BadCase{{"--erase-ms", "12ms"}, "--erase-ms"},
                      BadCase{{"--replug", "soon"}, "--replug: 'soon'"},
                      BadCase{{"--device", "x.dev"}, "--device needs --protocol inquiry"},
                      BadCase{{"--protocol", "inquiry", "--prog-baud", "9600"},
                              "--prog-baud needs --protocol classic"}),
    [](const auto& info) {
      std::string args;
      for (const auto a : info.param.args) args += std::string(a) + " ";
      return vantrel::testing::Identifier(args);
    });

TEST(ProgramOptions, HelpNamesEveryOptionAndTheExitCodes) {
  const std::string help = ProgramHelp();
  for (std::string_view option : {"--protocol",
                                  "--erase-ms",
                                  "--prog-baud",
                                  "--block-size",
                                  "--flash-base",
                                  "--flash-size",
                                  "--pacing",
                                  "--sync-zeros",
                                  "--dump",
                                  "--jobs",
                                  "--quiet",
                                  "--verbose",
                                  "--version",
                                  "--fault-no-sync",
                                  "--fault-handshake",
                                  "--fault-noise",
                                  "--fault-drop-echo",
                                  "--fault-corrupt-echo",
                                  "--fault-erase-answer",
                                  "--fault-block-nak",
                                  "--fault-block-silent",
                                  "--fault-verify-address",
                                  "--fault-verify-no-data",
                                  "--fault-verify-data",
                                  "--fault-hang-up",
                                  "--device",
                                  "Exit codes:\n  0"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace vantrel::simulator
