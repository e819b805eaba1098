#include "cli/entry/cli_options.h"
#include "support/case_name.h"

#include <gtest/gtest.h>

namespace vantrel::cli {
namespace {

std::optional<CliOptions> Parse(std::vector<std::string_view> args, std::string& error) {
  return ParseCliOptions(args, error);
}

struct RefusedCase {
  std::vector<std::string_view> args;
  const char* error;
};

class Refused : public ::testing::TestWithParam<RefusedCase> {};
const auto ByError = [](const auto& info) { return testing::Identifier(info.param.error); };

TEST_P(Refused, WithOneReason) {
  std::string error;
  EXPECT_FALSE(Parse(GetParam().args, error));
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Options, Refused,
    ::testing::Values(
        RefusedCase{{"--port", "A", "--port", "A", "--cpu", "C", "f"}, "--port A is given twice"},
        RefusedCase{{"--port=", "--cpu", "C", "f"}, "--port needs a port name"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--cadence=5ms", "f"},
                    "--cadence takes 10ms or fast, not '5ms'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--trace=", "f"}, "--trace needs a file name"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--log", "-", "f"},
                    "--log needs a file name, not '-'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--report", "-", "--repeat", "f"},
                    "--report - writes one JSON array at the end; with --repeat name a file "
                    "(written again after each round), or use --log FILE.jsonl"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--report", "-", "--events", "-", "f"},
                    "--report - and --events - cannot both have standard output; name a file "
                    "for one"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--events=", "f"}, "--events needs a file name"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial-over-program", "f"},
                    "--serial-over-program needs --serial"},
        RefusedCase{{"--list-ports=yes"}, "--list-ports takes no value"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial", "0x100", "f"},
                    "--serial takes ADDR:FIRST[:STEP[:FORMAT]], not '0x100'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial", "0x100:1:0", "f"},
                    "--serial: the step must be a whole number above 0, not '0'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial", "0x100:70000:1:le16", "f"},
                    "--serial: 70000 does not fit le16 (at most 65535)"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial-file", "s.txt", "f"},
                    "--serial-file needs --serial"},
        RefusedCase{{"--port", "A", "--cpu", "C", "a.mot", ""}, "the user program FILE is empty"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--view", "8080", "f"},
                    "--view shows a station: it needs --repeat"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--repeat", "--view", "0", "f"},
                    "--view needs [ADDR:]PORT with a PORT from 1 to 65535, not '0'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--repeat", "--view", "h:65536", "f"},
                    "--view needs [ADDR:]PORT with a PORT from 1 to 65535, not 'h:65536'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--repeat", "--view=:80", "f"},
                    "--view :80 names no address before the ':'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--repeat", "--view", "::1:80", "f"},
                    "--view ::1:80: write an IPv6 address in brackets, [ADDR]:PORT"}),
    ByError);

INSTANTIATE_TEST_SUITE_P(Repeated, Refused,
                         ::testing::Values(RefusedCase{
                             {"--port", "A", "--cpu", "X", "--cpu=Y", "f"},
                             "--cpu is given twice ('X', then 'Y'): give it once"}),
                         ByError);

INSTANTIATE_TEST_SUITE_P(
    Misspelt, Refused,
    ::testing::Values(RefusedCase{{"--verfiy"}, "unknown option --verfiy: did you mean --verify?"},
                      RefusedCase{{"--serial-f", "s"},
                                  "unknown option --serial-f: did you mean --serial-file?"}),
    ByError);

INSTANTIATE_TEST_SUITE_P(
    HexAddress, Refused,
    ::testing::Values(
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial", "7FF0:1", "f"},
                    "--serial: write the address in hexadecimal as 0x7FF0 (or in decimal), not "
                    "'7FF0'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "app.bin@8000h"},
                    "app.bin@8000h: the address after @ must be hexadecimal as 0x8000 or decimal "
                    "(app.bin@0x8000)"}),
    ByError);

INSTANTIATE_TEST_SUITE_P(JobWithProgram, Refused,
                         ::testing::Values(RefusedCase{
                             {"--job", "line3.ini", "demo.mot"},
                             "the job file line3.ini names the user program (UserMotPath, "
                             "or @APP_MOT), so demo.mot cannot be given as well: leave out "
                             "--job to write it, or name it in the job file"}),
                         ByError);

TEST(CliOptions, SeveralPortsTheCadenceTheTraceAndTheReport) {
  std::string error;
  const auto o = Parse({"--port", "/dev/ttyUSB0", "--port=/dev/ttyUSB1", "--cpu", "C.mot",
                        "--cadence", "10ms", "--trace", "-", "--report=r.json", "p.mot"},
                       error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->ports, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}));
  EXPECT_EQ(o->tickMode, TickMode::Cadence);
  EXPECT_EQ(o->trace, "-");
  EXPECT_EQ(o->report, "r.json");
  for (const auto& [text, address, port] : {std::tuple{"8080", "127.0.0.1", 8080},
                                            {"0.0.0.0:1", "0.0.0.0", 1},
                                            {"[::1]:65535", "::1", 65535},
                                            {"station3:80", "station3", 80}}) {
    const auto viewed =
        Parse({"--port", "A", "--cpu", "C", "--repeat", "--view", text, "f"}, error);
    ASSERT_TRUE(viewed && viewed->view) << text << ": " << error;
    EXPECT_EQ(viewed->view->address, address) << text;
    EXPECT_EQ(viewed->view->port, port) << text;
  }
  const auto fast = Parse({"--port", "A", "--cpu", "C", "f"}, error);
  ASSERT_TRUE(fast);
  EXPECT_EQ(fast->tickMode, TickMode::Fast) << "fast is the default";
}

}  // namespace
}  // namespace vantrel::cli
