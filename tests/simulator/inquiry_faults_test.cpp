#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "simulator/inquiry_boot_loader.h"
#include "simulator/inquiry_fixture.h"
#include "support/case_name.h"

namespace vantrel::simulator::testing {
namespace {

using Phase = InquiryBootLoader::Phase;

const Bytes kSampleDevices = [] {
  Bytes b{0x0B};
  for (char c : std::string_view("VT01VTR-100")) b.push_back(static_cast<std::uint8_t>(c));
  b.push_back(0x0B);
  for (char c : std::string_view("VT02VTR-200")) b.push_back(static_cast<std::uint8_t>(c));
  return b;
}();

class InquiryFaultTest : public InquiryLoaderTest,
                         public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(InquiryFaultTest, WrongResponseCodeForOneInquiryOnly) {
  const std::uint8_t command = GetParam();
  config.faults.wrongCodeFor = command;
  for (std::uint8_t c = 0x20; c <= 0x27; ++c) {
    Feed({c});
    auto answer = line.Take();
    ASSERT_FALSE(answer.empty());
    EXPECT_EQ(answer[0], c == command ? c + 0x11 : c + 0x10) << std::hex << int{c};
    EXPECT_EQ(Checksum(answer), 0) << "only the code is wrong";
  }
}

TEST_P(InquiryFaultTest, WrongChecksumForOneInquiryOnly) {
  const std::uint8_t command = GetParam();
  config.faults.wrongChecksumFor = command;
  for (std::uint8_t c = 0x20; c <= 0x27; ++c) {
    Feed({c});
    auto answer = line.Take();
    ASSERT_FALSE(answer.empty());
    EXPECT_EQ(answer[0], c + 0x10);
    EXPECT_EQ(Checksum(answer) != 0, c == command) << std::hex << int{c};
  }
}

INSTANTIATE_TEST_SUITE_P(EachInquiry, InquiryFaultTest, ::testing::Range<std::uint8_t>(0x20, 0x28),
                         [](const auto& info) {
                           return vantrel::testing::HexName("Inquiry", info.param);
                         });

TEST_F(InquiryLoaderTest, SixtyFiveDevicesFaultPadsTheDescribedDevices) {
  config.faults.manyDevices = true;
  Feed({0x20});
  auto answer = line.Take();
  ASSERT_GT(answer.size(), 20u);
  EXPECT_EQ(answer[2], 65);
  // The described devices come first, unchanged.
  EXPECT_EQ(Bytes(answer.begin() + 3, answer.begin() + 27), kSampleDevices);
  EXPECT_EQ(Checksum(answer), 0);
}

TEST_F(InquiryLoaderTest, SeventyClockModesFaultPadsWithModesNotDescribed) {
  config.faults.manyClockModes = true;
  Feed({0x21});
  auto answer = line.Take();
  ASSERT_EQ(answer.size(), 3u + 71);
  EXPECT_EQ(answer[2], 70);
  EXPECT_EQ(answer[3], 0x00);
  EXPECT_EQ(answer[4], 0x01);
  std::set<std::uint8_t> modes(answer.begin() + 3, answer.end() - 1);
  EXPECT_EQ(modes.size(), 70u) << "no mode is reported twice";
  // A host that keeps only 64 modes can still select a reported one.
  Feed(Frame(0x10, Code("VT01")));
  Feed(Frame(0x11, {answer[3 + 69]}));
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x06}));
}

TEST_F(InquiryLoaderTest, BitRateNakFaultKeepsTheOldRate) {
  config.faults.nakBitRate = true;
  Feed(Frame(0x10, Code("VT01")));
  Feed(Frame(0x11, {0x00}));
  Feed(kBitRate115200);
  Wait(10'000);
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x06, 0x15}));
  EXPECT_TRUE(line.baudChanges.empty());
  EXPECT_EQ(L().phase(), Phase::Inquiry);
}

TEST_F(InquiryLoaderTest, SilentAtNewRateFaultSwitchesButNeverConfirms) {
  config.faults.silentAtNewRate = true;
  Feed(Frame(0x10, Code("VT01")));
  Feed(Frame(0x11, {0x00}));
  Feed(kBitRate115200);
  Wait(10'000);
  EXPECT_EQ(line.baudChanges, std::vector<std::uint32_t>{115200});
  line.Take();
  Feed({0x06});
  Wait(1'000'000);
  EXPECT_TRUE(line.sent.empty());
}

class EraseAnswerTest : public InquiryLoaderTest, public ::testing::WithParamInterface<int> {};

TEST_P(EraseAnswerTest, EndsTheEraseWithTheChosenByteOrNothing) {
  config.faults.eraseAnswer = GetParam();
  Select();
  Feed({0x40});
  Wait(std::uint64_t{config.eraseMs} * 1000);
  Wait(30'000'000);
  EXPECT_EQ(line.Take(), GetParam() < 0 ? Bytes{} : Bytes{static_cast<std::uint8_t>(GetParam())});
  EXPECT_EQ(L().phase(), Phase::Programming);
}

INSTANTIATE_TEST_SUITE_P(Answers, EraseAnswerTest, ::testing::Values(0x26, 0x16, 0x55, -1),
                         [](const auto& info) {
                           return info.param < 0 ? std::string("None")
                                                 : vantrel::testing::HexName("Answer", info.param);
                         });

TEST_F(InquiryLoaderTest, MatSelectionNakFault) {
  config.faults.nakMatSelection = true;
  Select();
  Feed({0x40});
  Wait(std::uint64_t{config.eraseMs} * 1000);
  Feed({0x43, 0x42});
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x15, 0x15}));
}

TEST_F(InquiryLoaderTest, BlockNakFaultRefusesOnlyTheKthBlock) {
  config.faults.nakBlock = 2;
  Programming();
  Feed(ProgramFrame(0x000, Bytes(128, 0x11)));
  Feed(ProgramFrame(0x080, Bytes(128, 0x22)));
  Feed(ProgramFrame(0x100, Bytes(128, 0x33)));
  Feed(kEndOfProgramming);
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x15, 0x06, 0x06}));
  EXPECT_EQ(flash.At(0x000), 0x11);
  EXPECT_EQ(flash.At(0x080), 0xFF) << "the refused block is not written";
  EXPECT_EQ(flash.At(0x100), 0x33);
}

enum class ReadFault { WrongLength, WrongChecksum, FlippedData };

class ReadFaultTest : public InquiryLoaderTest, public ::testing::WithParamInterface<ReadFault> {};

TEST_P(ReadFaultTest, OnlyTheKthReadAnswerIsSpoiled) {
  auto& f = config.faults;
  if (GetParam() == ReadFault::WrongLength) f.readWrongLength = 2;
  if (GetParam() == ReadFault::WrongChecksum) f.readWrongChecksum = 2;
  if (GetParam() == ReadFault::FlippedData) f.readFlippedData = 2;
  Programming();
  Bytes data(128);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
  Feed(ProgramFrame(0, data));
  Feed(kEndOfProgramming);
  line.Take();

  const Bytes good = [&] {
    Bytes a{0x52, 0x00, 0x00, 0x00, 0x80};
    a.insert(a.end(), data.begin(), data.end());
    return WithChecksum(a);
  }();
  Feed(ReadFrame(0x01, 0, 128));
  EXPECT_EQ(line.Take(), good) << "first read";
  Feed(ReadFrame(0x01, 0, 128));
  auto spoiled = line.Take();
  Feed(ReadFrame(0x01, 0, 128));
  EXPECT_EQ(line.Take(), good) << "third read";

  switch (GetParam()) {
    case ReadFault::WrongLength:
      ASSERT_EQ(spoiled.size(), 135u);
      EXPECT_EQ(Bytes(spoiled.begin(), spoiled.begin() + 5), (Bytes{0x52, 0x00, 0x00, 0x00, 0x81}));
      EXPECT_EQ(Checksum(spoiled), 0);
      break;
    case ReadFault::WrongChecksum:
      ASSERT_EQ(spoiled.size(), good.size());
      EXPECT_TRUE(std::equal(good.begin(), good.end() - 1, spoiled.begin()));
      EXPECT_NE(Checksum(spoiled), 0);
      break;
    case ReadFault::FlippedData:
      ASSERT_EQ(spoiled.size(), good.size());
      EXPECT_TRUE(std::equal(good.begin(), good.end() - 2, spoiled.begin()));
      EXPECT_EQ(spoiled[spoiled.size() - 2], 127 ^ 0x01);
      EXPECT_EQ(Checksum(spoiled), 0) << "only the comparison can catch it";
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, ReadFaultTest,
                         ::testing::Values(ReadFault::WrongLength, ReadFault::WrongChecksum,
                                           ReadFault::FlippedData),
                         [](const auto& info) {
                           return std::string(info.param == ReadFault::WrongLength ? "WrongLength"
                                              : info.param == ReadFault::WrongChecksum
                                                  ? "WrongChecksum"
                                                  : "FlippedData");
                         });

}  // namespace
}  // namespace vantrel::simulator::testing
