#include "cli/cli_options.h"
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
        RefusedCase{{"--port", "A", "--cpu", "C", "--report", "-", "f"},
                    "--report needs a file name, not '-'"},
        RefusedCase{{"--list-ports=yes"}, "--list-ports takes no value"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial", "0x100", "f"},
                    "--serial takes ADDR:FIRST[:STEP[:FORMAT]], not '0x100'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial", "0x100:1:0", "f"},
                    "--serial: the step must be a whole number above 0, not '0'"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial", "0x100:70000:1:le16", "f"},
                    "--serial: 70000 does not fit le16 (at most 65535)"},
        RefusedCase{{"--port", "A", "--cpu", "C", "--serial-file", "s.txt", "f"},
                    "--serial-file needs --serial"},
        RefusedCase{{"--port", "A", "--cpu", "C", "a.mot", ""}, "the user program FILE is empty"}),
    [](const auto& info) { return testing::Identifier(info.param.error); });

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
  const auto fast = Parse({"--port", "A", "--cpu", "C", "f"}, error);
  ASSERT_TRUE(fast);
  EXPECT_EQ(fast->tickMode, TickMode::Fast) << "fast is the default";
}

}  // namespace
}  // namespace vantrel::cli
