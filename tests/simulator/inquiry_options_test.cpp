#include "simulator/inquiry_options.h"
#include "support/case_name.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::simulator {
namespace {

TEST(InquiryOptions, FaultOptionsSetTheirFault) {
  InquiryConfig c;
  std::string error;
  ASSERT_TRUE(ApplyInquiryOption("--erase-ms", "2500", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--end-quiet-ms", "0x50", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-inquiry-code", "0x22", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-inquiry-checksum", "0x27", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-65-devices", "", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-70-clock-modes", "", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-bit-rate-nak", "", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-silent-new-rate", "", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-erase-answer", "0x16", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-mat-nak", "", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-block-nak", "3", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-read-length", "1", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-read-checksum", "2", c, &error)) << error;
  ASSERT_TRUE(ApplyInquiryOption("--fault-read-data", "4", c, &error)) << error;
  const auto& f = c.faults;
  EXPECT_EQ(c.eraseMs, 2500u);
  EXPECT_EQ(c.endQuietMs, 80u);
  EXPECT_EQ(f.wrongCodeFor, std::optional<std::uint8_t>(0x22));
  EXPECT_EQ(f.wrongChecksumFor, std::optional<std::uint8_t>(0x27));
  EXPECT_TRUE(f.manyDevices && f.manyClockModes && f.nakBitRate && f.silentAtNewRate &&
              f.nakMatSelection);
  EXPECT_EQ(f.eraseAnswer, 0x16);
  EXPECT_EQ(f.nakBlock, 3u);
  EXPECT_EQ(f.readWrongLength, 1u);
  EXPECT_EQ(f.readWrongChecksum, 2u);
  EXPECT_EQ(f.readFlippedData, 4u);

  ASSERT_TRUE(ApplyInquiryOption("--fault-erase-answer", "none", c, &error));
  EXPECT_EQ(c.faults.eraseAnswer, -1);
}

TEST(InquiryOptions, DeviceOptionLoadsTheDescription) {
  InquiryConfig c;
  std::string error;
  ASSERT_TRUE(
      ApplyInquiryOption("--device", VANTREL_SOURCE_DIR "/examples/target/sample.dev", c, &error))
      << error;
  EXPECT_EQ(c.device, SampleDeviceDescription());
  EXPECT_FALSE(ApplyInquiryOption("--device", "/nonexistent/x.dev", c, &error));
  EXPECT_EQ(error, "/nonexistent/x.dev: cannot be opened");
}

struct BadValue {
  const char* option;
  const char* value;
  const char* error;
};

class BadValueTest : public ::testing::TestWithParam<BadValue> {};

TEST_P(BadValueTest, IsRefusedAndLeavesTheConfigAlone) {
  InquiryConfig c;
  std::string error;
  EXPECT_FALSE(ApplyInquiryOption(GetParam().option, GetParam().value, c, &error));
  EXPECT_EQ(error, GetParam().error);
  EXPECT_EQ(c.eraseMs, InquiryConfig{}.eraseMs);
  EXPECT_EQ(c.faults.nakBlock, 0u);
  EXPECT_FALSE(c.faults.wrongCodeFor);
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadValueTest,
    ::testing::Values(BadValue{"--fault-inquiry-code", "0x28",
                               "--fault-inquiry-code: '0x28' is not an inquiry "
                               "0x20..0x27"},
                      BadValue{"--fault-block-nak", "0",
                               "--fault-block-nak: '0' is not a count from 1"},
                      BadValue{"--erase-ms", "fast", "--erase-ms: 'fast' is not a number"},
                      BadValue{"--fault-erase-answer", "0x100",
                               "--fault-erase-answer: '0x100' is not a byte "
                               "or none"},
                      BadValue{"--fault-mat-nak", "yes",
                               "--fault-mat-nak: 'yes' is not expected (the option takes none)"},
                      BadValue{"--fault-everything", "", "unknown option --fault-everything"}),
    [](const auto& info) { return vantrel::testing::Identifier(info.param.option); });

TEST(InquiryOptions, EveryOptionIsKnownTakesTheRightValueAndIsInTheHelp) {
  const std::pair<const char*, bool> options[] = {
      {"--device", true},
      {"--erase-ms", true},
      {"--end-quiet-ms", true},
      {"--fault-inquiry-code", true},
      {"--fault-inquiry-checksum", true},
      {"--fault-65-devices", false},
      {"--fault-70-clock-modes", false},
      {"--fault-bit-rate-nak", false},
      {"--fault-silent-new-rate", false},
      {"--fault-erase-answer", true},
      {"--fault-mat-nak", false},
      {"--fault-block-nak", true},
      {"--fault-read-length", true},
      {"--fault-read-checksum", true},
      {"--fault-read-data", true},
  };
  for (auto [name, takesValue] : options) {
    EXPECT_TRUE(IsInquiryOption(name)) << name;
    EXPECT_EQ(InquiryOptionTakesValue(name), takesValue) << name;
    EXPECT_NE(InquiryOptionsHelp().find(std::string("  ") + name + " "), std::string_view::npos)
        << name;
  }
  EXPECT_FALSE(IsInquiryOption("--pacing"));
  EXPECT_FALSE(InquiryOptionTakesValue("--pacing"));
}

}  // namespace
}  // namespace vantrel::simulator
