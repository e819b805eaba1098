#include "simulator/device_description.h"
#include "support/case_name.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::simulator {
namespace {

constexpr const char* kSamplePath = VANTREL_SOURCE_DIR "/examples/target/sample.dev";

TEST(DeviceDescription, ShippedSampleFileLoadsAndMatchesTheBuiltInDefault) {
  std::string error;
  auto d = LoadDeviceDescription(kSamplePath, &error);
  ASSERT_TRUE(d) << error;
  EXPECT_EQ(*d, SampleDeviceDescription());
  EXPECT_EQ(d->devices, (std::vector<DeviceEntry>{{"VT01", "VTR-100"}, {"VT02", "VTR-200"}}));
  EXPECT_EQ(d->clockModes, (std::vector<std::uint8_t>{0x00, 0x01}));
  EXPECT_EQ(d->ratios, (std::vector<std::vector<std::uint8_t>>{{1, 2, 4, 8}, {1, 2, 4}}));
  EXPECT_EQ(d->frequencies, (std::vector<FrequencyRange>{{100, 5000}, {100, 2500}}));
  EXPECT_EQ(d->userBootMat, (std::vector<AddressArea>{{0, 0x1FFF}}));
  EXPECT_EQ(d->userMat, (std::vector<AddressArea>{{0, 0x3FFFF}}));
  EXPECT_EQ(d->eraseBlocks.size(), 8u);
  EXPECT_EQ(d->eraseBlocks.back(), (AddressArea{0x30000, 0x3FFFF}));
  EXPECT_EQ(d->writeSize, 128);
  EXPECT_EQ(d->UserMatSpan(), (MemorySpan{0, 0x40000}));
  EXPECT_EQ(d->UserBootMatSpan(), (MemorySpan{0, 0x2000}));
}

const std::string kMinimal = "device VT01 VTR-100\nuser-mat 0 0xFFFF\nwrite-size 128\n";

std::optional<DeviceDescription> Parse(const std::string& text, std::string* error) {
  return ParseDeviceDescription(text, "test.dev", error);
}

TEST(DeviceDescription, ProductNameKeepsInnerBlanksAndCrLfLinesAreRead) {
  std::string error;
  auto d = Parse(
      "# comment\r\n\r\n  device  AB12   Board  Two  \r\nuser-mat 0X10 0x1f\r\n"
      "write-size 256\r\nclock-mode 7\r\nclock-mode 9 0x0A\r\n",
      &error);
  ASSERT_TRUE(d) << error;
  EXPECT_EQ(d->devices, (std::vector<DeviceEntry>{{"AB12", "Board  Two"}}));
  EXPECT_EQ(d->clockModes, (std::vector<std::uint8_t>{7, 9, 10}));
  EXPECT_EQ(d->UserMatSpan(), (MemorySpan{0x10, 0x10}));
  EXPECT_EQ(d->writeSize, 256);
}

TEST(DeviceDescription, UserMatSpanCoversAllAreas) {
  auto d = Parse(kMinimal + "user-mat 0x20000 0x2FFFF\nuser-mat 0x10000 0x17FFF\n", nullptr);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->UserMatSpan(), (MemorySpan{0, 0x30000}));
}

struct BadLine {
  std::string text;  // appended to a good description on line 4
  std::string error;
};

class MalformedLineTest : public ::testing::TestWithParam<BadLine> {};

TEST_P(MalformedLineTest, IsRefusedWithItsLineNumber) {
  std::string error;
  EXPECT_FALSE(Parse(kMinimal + GetParam().text + "\n", &error));
  EXPECT_EQ(error, "test.dev:4: " + GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MalformedLineTest,
    ::testing::Values(BadLine{"devise VT02 X", "unknown keyword 'devise'"},
                      BadLine{"device VT2 X", "device code must be 4 characters"},
                      BadLine{"device VT02", "device needs a product name"},
                      BadLine{"device VT02 " + std::string(252, 'n'),
                              "product name longer than 251"},
                      BadLine{"clock-mode", "clock-mode needs at least 1 number"},
                      BadLine{"clock-mode 256", "'256' is above 255"},
                      BadLine{"clock-mode 0x", "'0x' is not a number"},
                      BadLine{"clock-mode 1O", "'1O' is not a number"},
                      BadLine{"ratios 1 2 0x100", "'0x100' is above 255"},
                      BadLine{"frequency 100", "frequency needs 2 numbers"},
                      BadLine{"frequency 100 70000", "'70000' is above 65535"},
                      BadLine{"frequency 200 100", "minimum above maximum"},
                      BadLine{"user-mat 0x2000 0x1FFF", "first address above last address"},
                      BadLine{"user-boot-mat 0 0x1FFF 5", "user-boot-mat needs 2 numbers"},
                      BadLine{"erase-block 0 0x100000000", "'0x100000000' is not a number"},
                      BadLine{"write-size 256", "write-size given twice (first on line 3)"}),
    [](const auto& info) { return vantrel::testing::Identifier(info.param.error); });

TEST(DeviceDescription, WriteSizeOutOfRangeIsRefused) {
  std::string error;
  EXPECT_FALSE(Parse("device VT01 X\nuser-mat 0 1\nwrite-size 0\n", &error));
  EXPECT_EQ(error, "test.dev:3: write-size must not be 0");
  EXPECT_FALSE(Parse("device VT01 X\nuser-mat 0 1\nwrite-size 4097\n", &error));
  EXPECT_EQ(error, "test.dev:3: '4097' is above 4096");
}

TEST(DeviceDescription, ListsThatWouldNotFitTheirAnswerAreRefusedAtTheFirstExtraLine) {
  std::string text = kMinimal;
  for (int i = 0; i < 63; ++i) text += "frequency 1 2\n";
  std::string error;
  EXPECT_TRUE(Parse(text, &error)) << error;
  EXPECT_FALSE(Parse(text + "frequency 1 2\n", &error));
  EXPECT_EQ(error, "test.dev:67: more than 63 frequency entries do not fit the answer");

  text = kMinimal;  // already holds one user mat area
  for (int i = 0; i < 30; ++i) text += "user-mat 0 1\n";
  EXPECT_TRUE(Parse(text, &error)) << error;
  EXPECT_FALSE(Parse(text + "user-mat 0 1\n", &error));
  EXPECT_EQ(error, "test.dev:34: more than 31 user-mat entries do not fit the answer");

  // 1 + (1 + 253) bytes fill the ratio answer exactly.
  std::string ratios = "ratios";
  for (int i = 0; i < 253; ++i) ratios += " 1";
  EXPECT_TRUE(Parse(kMinimal + ratios + "\n", &error)) << error;
  EXPECT_FALSE(Parse(kMinimal + ratios + " 1\n", &error));
  EXPECT_EQ(error, "test.dev:4: the ratio lists do not fit the answer");
}

TEST(DeviceDescription, SixtyFiveDevicesAndSeventyClockModesCanBeDescribed) {
  std::string text = kMinimal;
  for (int i = 1; i < 65; ++i) text += "device D" + std::to_string(100 + i) + " N\n";
  for (int i = 0; i < 70; ++i) text += "clock-mode " + std::to_string(i) + "\n";
  std::string error;
  auto d = Parse(text, &error);
  ASSERT_TRUE(d) << error;
  EXPECT_EQ(d->devices.size(), 65u);
  EXPECT_EQ(d->clockModes.size(), 70u);
}

struct MissingCase {
  std::string text;
  std::string error;
};

class MissingEntryTest : public ::testing::TestWithParam<MissingCase> {};

TEST_P(MissingEntryTest, IsRefusedNamingTheFile) {
  std::string error;
  EXPECT_FALSE(Parse(GetParam().text, &error));
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MissingEntryTest,
    ::testing::Values(
        MissingCase{"user-mat 0 1\nwrite-size 128\n", "test.dev: no device described"},
        MissingCase{"device VT01 X\nwrite-size 128\n", "test.dev: no user-mat area described"},
        MissingCase{"device VT01 X\nuser-mat 0 1\n", "test.dev: no write-size given"},
        MissingCase{"device VT01 X\nwrite-size 128\nuser-mat 0 0x00FFFFFF\nuser-mat 0x01000000 "
                    "0x01000000\n",
                    "test.dev: the user mat spans more than 16 MiB"}),
    [](const auto& info) { return vantrel::testing::Identifier(info.param.error); });

TEST(DeviceDescription, MissingFileIsReported) {
  std::string error;
  EXPECT_FALSE(LoadDeviceDescription("/nonexistent/x.dev", &error));
  EXPECT_EQ(error, "/nonexistent/x.dev: cannot be opened");
}

}  // namespace
}  // namespace vantrel::simulator
