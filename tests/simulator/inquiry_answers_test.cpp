#include <gtest/gtest.h>

#include <string>

#include "simulator/inquiry_boot_loader.h"
#include "simulator/inquiry_fixture.h"
#include "support/case_name.h"

namespace vantrel::simulator::testing {
namespace {

struct AnswerCase {
  std::uint8_t command;
  Bytes answer;
};

class InquiryAnswerTest : public InquiryLoaderTest,
                          public ::testing::WithParamInterface<AnswerCase> {};

// The sample description, as a host asking each inquiry receives it.
const AnswerCase kSampleAnswers[] = {
    {0x20, {0x30, 0x19, 0x02, 0x0B, 0x56, 0x54, 0x30, 0x31, 0x56, 0x54, 0x52, 0x2D, 0x31, 0x30,
            0x30, 0x0B, 0x56, 0x54, 0x30, 0x32, 0x56, 0x54, 0x52, 0x2D, 0x32, 0x30, 0x30, 0x13}},
    {0x21, {0x31, 0x03, 0x02, 0x00, 0x01, 0xC9}},
    {0x22, {0x32, 0x0A, 0x02, 0x04, 0x01, 0x02, 0x04, 0x08, 0x03, 0x01, 0x02, 0x04, 0xA5}},
    {0x23, {0x33, 0x09, 0x02, 0x00, 0x64, 0x13, 0x88, 0x00, 0x64, 0x09, 0xC4, 0x92}},
    {0x24, {0x34, 0x09, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F, 0xFF, 0xA4}},
    {0x25, {0x35, 0x09, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0xFF, 0xFF, 0xC0}},
    {0x26, {0x36, 0x00, 0x41, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F, 0xFF, 0x00, 0x00,
            0x10, 0x00, 0x00, 0x00, 0x1F, 0xFF, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x3F, 0xFF,
            0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0x7F, 0xFF, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00,
            0xFF, 0xFF, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0x00, 0x02, 0x00, 0x00,
            0x00, 0x02, 0xFF, 0xFF, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0xFF, 0xFF, 0xA5}},
    {0x27, {0x37, 0x02, 0x00, 0x80, 0x47}},
};

TEST_P(InquiryAnswerTest, AnswersFromTheSampleDescriptionByteForByte) {
  const auto& c = GetParam();
  Feed({c.command});
  auto answer = line.Take();
  EXPECT_EQ(answer, c.answer);
  EXPECT_EQ(Checksum(answer), 0) << "all bytes of an answer add up to 0";
}

INSTANTIATE_TEST_SUITE_P(Sample, InquiryAnswerTest, ::testing::ValuesIn(kSampleAnswers),
                         [](const auto& info) {
                           return vantrel::testing::HexName("Inquiry", info.param.command);
                         });

TEST_F(InquiryLoaderTest, InquiriesAreAnsweredAtTheNewRateButNotWhileErasing) {
  Select();
  Feed({0x27});
  EXPECT_EQ(line.Take(), (Bytes{0x37, 0x02, 0x00, 0x80, 0x47}));
  Feed({0x40, 0x20});
  EXPECT_TRUE(line.Take().empty());
}

DeviceDescription Described(const std::string& text) {
  std::string error;
  auto d = ParseDeviceDescription(text, "test.dev", &error);
  EXPECT_TRUE(d) << error;
  return d.value_or(DeviceDescription{});
}

TEST_F(InquiryLoaderTest, SixtyFiveDevicesKeepTheirCountAndSendTheEntriesThatFit) {
  std::string text = "user-mat 0 0xFFFF\nwrite-size 128\n";
  for (int i = 0; i < 65; ++i) text += "device D" + std::to_string(100 + i) + " N\n";
  config.device = Described(text);
  Feed({0x20});
  auto answer = line.Take();
  ASSERT_GE(answer.size(), 4u);
  EXPECT_EQ(answer[0], 0x30);
  EXPECT_EQ(answer[2], 65) << "the true count";
  // 6 bytes per entry (count, code, one name byte): 42 entries fit in 255 data bytes.
  EXPECT_EQ(answer[1], 1 + 42 * 6);
  EXPECT_EQ(answer.size(), 2u + answer[1] + 1);
  EXPECT_EQ(Checksum(answer), 0);
}

TEST_F(InquiryLoaderTest, SeventyDescribedClockModesAreAllReported) {
  std::string text = "device VT01 VTR-100\nuser-mat 0 0xFFFF\nwrite-size 256\nclock-mode";
  for (int i = 0; i < 70; ++i) text += " " + std::to_string(i * 3);
  config.device = Described(text + "\n");
  Feed({0x21, 0x27});
  auto answer = line.Take();
  ASSERT_EQ(answer.size(), 3u + 71 + 5);
  EXPECT_EQ(answer[1], 71);
  EXPECT_EQ(answer[2], 70);
  EXPECT_EQ(answer[2 + 70], 207);
  EXPECT_EQ(Bytes(answer.end() - 5, answer.end()), (Bytes{0x37, 0x02, 0x01, 0x00, 0xC6}));
}

TEST_F(InquiryLoaderTest, ManyEraseBlocksUseTheTwoByteSize) {
  std::string text = "device VT01 VTR-100\nuser-mat 0 0xFFFFF\nwrite-size 128\n";
  for (int i = 0; i < 40; ++i) {
    text += "erase-block " + std::to_string(i * 0x1000) + " " + std::to_string(i * 0x1000 + 0xFFF) +
            "\n";
  }
  config.device = Described(text);
  Feed({0x26});
  auto answer = line.Take();
  ASSERT_EQ(answer.size(), 3u + 321 + 1);
  EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 4), (Bytes{0x36, 0x01, 0x41, 40}));
  EXPECT_EQ(Bytes(answer.end() - 9, answer.end() - 1), (Bytes{0, 2, 0x70, 0, 0, 2, 0x7F, 0xFF}));
  EXPECT_EQ(Checksum(answer), 0);
}

TEST_F(InquiryLoaderTest, NoUserBootMatIsAnsweredWithACountOfZero) {
  config.device = Described("device VT01 VTR-100\nuser-mat 0 0xFFFF\nwrite-size 128\n");
  Feed({0x24});
  EXPECT_EQ(line.Take(), (Bytes{0x34, 0x01, 0x00, 0xCB}));
}

}  // namespace
}  // namespace vantrel::simulator::testing
