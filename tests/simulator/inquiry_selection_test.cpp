#include <gtest/gtest.h>

#include "simulator/inquiry_boot_loader.h"
#include "simulator/inquiry_fixture.h"
#include "support/case_name.h"

namespace vantrel::simulator::testing {
namespace {

using Phase = InquiryBootLoader::Phase;

struct SelectionCase {
  const char* what;
  Bytes before;  // sent first, answers dropped
  Bytes frame;
  std::uint8_t answer;
};

class SelectionTest : public InquiryLoaderTest,
                      public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionTest, AnswersAckOrNak) {
  const auto& c = GetParam();
  Feed(c.before);
  line.Take();
  Feed(c.frame);
  EXPECT_EQ(line.Take(), Bytes{c.answer}) << c.what;
}

Bytes Corrupt(Bytes frame) {
  frame.back() ^= 0x01;
  return frame;
}

const Bytes kBothSelected = [] {
  Bytes b = Frame(0x10, Code("VT01"));
  auto m = Frame(0x11, {0x00});
  b.insert(b.end(), m.begin(), m.end());
  return b;
}();

const SelectionCase kSelections[] = {
    {"second described device", {}, Frame(0x10, Code("VT02")), 0x06},
    {"device code not described", {}, Frame(0x10, Code("VT03")), 0x15},
    {"device code in lower case", {}, Frame(0x10, Code("vt01")), 0x15},
    {"device frame with a bad checksum", {}, Corrupt(Frame(0x10, Code("VT01"))), 0x15},
    {"device frame of size 3", {}, Frame(0x10, Code("VT0")), 0x15},
    {"clock mode before any device", {}, Frame(0x11, {0x00}), 0x15},
    {"described clock mode 1", Frame(0x10, Code("VT01")), Frame(0x11, {0x01}), 0x06},
    {"clock mode 2 not described", Frame(0x10, Code("VT01")), Frame(0x11, {0x02}), 0x15},
    {"bit rate before the selections", {}, kBitRate115200, 0x15},
    {"bit rate with the sample's values", kBothSelected, kBitRate115200, 0x06},
    {"bit rate without ratios", kBothSelected, Frame(0x3F, {0x00, 0x60, 0x00, 0x64, 0x00}), 0x06},
    {"bit rate 0", kBothSelected, Frame(0x3F, {0x00, 0x00, 0x07, 0xD0, 0x00}), 0x15},
    {"frequency below every range", kBothSelected, Frame(0x3F, {0x04, 0x80, 0x00, 0x63, 0x00}),
     0x15},
    {"frequency at the top of a range", kBothSelected, Frame(0x3F, {0x04, 0x80, 0x13, 0x88, 0x00}),
     0x06},
    {"ratio 3 not among the first type's", kBothSelected,
     Frame(0x3F, {0x04, 0x80, 0x07, 0xD0, 0x01, 0x03}), 0x15},
    {"ratio 8 not among the second type's", kBothSelected,
     Frame(0x3F, {0x04, 0x80, 0x07, 0xD0, 0x02, 0x08, 0x08}), 0x15},
    {"more ratios than clock types", kBothSelected,
     Frame(0x3F, {0x04, 0x80, 0x07, 0xD0, 0x03, 0x01, 0x01, 0x01}), 0x15},
    {"ratio count disagreeing with the size", kBothSelected,
     Frame(0x3F, {0x04, 0x80, 0x07, 0xD0, 0x02, 0x04}), 0x15},
    {"bit rate frame with a bad checksum", kBothSelected, Corrupt(kBitRate115200), 0x15},
    {"erase before the new bit rate", kBothSelected, {0x40}, 0x15},
    {"mat selection before the erase", kBothSelected, {0x43}, 0x15},
    {"command the loader does not know", {}, {0x77}, 0x15},
};

INSTANTIATE_TEST_SUITE_P(Sample, SelectionTest, ::testing::ValuesIn(kSelections),
                         [](const auto& info) {
                           return vantrel::testing::Identifier(info.param.what);
                         });

TEST_F(InquiryLoaderTest, WithoutDescribedClockModesOnlyModeZeroIsTaken) {
  config.device.clockModes.clear();
  Feed(Frame(0x10, Code("VT01")));
  Feed(Frame(0x11, {0x01}));
  Feed(Frame(0x11, {0x00}));
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x15, 0x06}));
}

TEST_F(InquiryLoaderTest, AFrameArrivingInPiecesIsAnsweredOnlyAfterItsChecksum) {
  auto frame = Frame(0x10, Code("VT02"));
  for (std::size_t i = 0; i + 1 < frame.size(); ++i) {
    Feed({frame[i]});
    Wait(300'000);
    ASSERT_TRUE(line.sent.empty()) << "answered after byte " << i;
  }
  Feed({frame.back()});
  EXPECT_EQ(line.Take(), Bytes{0x06});
}

TEST_F(InquiryLoaderTest, BitRateAckLeavesAtTheOldRateThenTheUartSwitches) {
  Feed(kBothSelected);
  line.Take();
  Feed(kBitRate115200);
  ASSERT_EQ(line.sent, Bytes{0x06});
  EXPECT_EQ(line.sentBaud, std::vector<std::uint32_t>{9600});
  // One character at 9600 bit/s takes about 1042 us.
  Wait(1000);
  EXPECT_TRUE(line.baudChanges.empty()) << "switched before the acknowledgement had gone out";
  Wait(100);
  EXPECT_EQ(line.baudChanges, std::vector<std::uint32_t>{115200});
  EXPECT_EQ(L().phase(), Phase::AwaitConfirm);

  line.Take();
  Wait(10'000);
  Feed({0x06});
  EXPECT_EQ(line.sent, Bytes{0x06});
  EXPECT_EQ(line.sentBaud, std::vector<std::uint32_t>{115200});
  EXPECT_EQ(L().phase(), Phase::Ready);
}

TEST_F(InquiryLoaderTest, OnlyTheConfirmationByteIsAcceptedAtTheNewRate) {
  Feed(kBothSelected);
  Feed(kBitRate115200);
  Wait(5000);
  line.Take();
  Feed({0x20, 0x06, 0x06});
  // The inquiry is refused, the confirmation answered, then a second 0x06 is an unknown command.
  EXPECT_EQ(line.Take(), (Bytes{0x15, 0x06, 0x15}));
}

}  // namespace
}  // namespace vantrel::simulator::testing
