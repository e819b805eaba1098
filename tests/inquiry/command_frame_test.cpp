#include <gtest/gtest.h>

#include <vector>

#include "core/step.h"
#include "inquiry/acknowledgement.h"
#include "inquiry/frame_checksum.h"
#include "inquiry/new_bit_rate_frame.h"
#include "inquiry/send_command_frame.h"
#include "inquiry/send_program_command.h"
#include "support/case_name.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SendCommandFrame, ClockModeSelectionCarriesChecksumED) {
  testing::StepFixture fx;
  const std::uint8_t mode[] = {0x01};
  SendCommandFrame(fx.port, 0x11, mode);
  EXPECT_EQ(fx.line.written, (Bytes{0x11, 0x01, 0x01, 0xED}));
}

TEST(SendCommandFrame, EmptyFrameEndsWithTheNegatedCommand) {
  testing::StepFixture fx;
  SendCommandFrame(fx.port, 0x3F, {});
  EXPECT_EQ(fx.line.written, (Bytes{0x3F, 0x00, 0xC1}));
}

TEST(SendProgramCommand, ABlockKeepsItsDataEvenAtTheEndAddress) {
  testing::StepFixture fx;
  const std::uint8_t data[] = {0x12, 0x34};
  SendProgramCommand(fx.port, 0xFFFFFFFF, data);
  SendProgramEnd(fx.port);
  EXPECT_EQ(fx.line.written, (Bytes{0x50, 0xFF, 0xFF, 0xFF, 0xFF, 0x12, 0x34, 0x6E,  // a block
                                    0x50, 0xFF, 0xFF, 0xFF, 0xFF, 0xB4}));           // the end
}

BootDefinition Definition(const char* baud, int clockFreq, int ratioNo,
                          std::initializer_list<int> ratios) {
  BootDefinition def;
  def.BaudP = baud;
  def.ClockFreq = clockFreq;
  def.MulRatioNo = ratioNo;
  std::int32_t* slots[] = {&def.MulRatio1, &def.MulRatio2, &def.MulRatio3, &def.MulRatio4};
  int i = 0;
  for (int r : ratios) *slots[i++] = r;
  return def;
}

struct NewBitRateCase {
  const char* name;
  BootDefinition def;
  Bytes wire;
};

class NewBitRateFrameTest : public ::testing::TestWithParam<NewBitRateCase> {};

TEST_P(NewBitRateFrameTest, GoesOnTheLineAsExpected) {
  testing::StepFixture fx;
  CommandData data{};
  SendCommandFrame(fx.port, kNewBitRateCommand, BuildNewBitRateData(GetParam().def, data));
  EXPECT_EQ(fx.line.written, GetParam().wire);
  EXPECT_EQ(FrameChecksum(
                std::span<const std::uint8_t>(fx.line.written).first(fx.line.written.size() - 1)),
            fx.line.written.back());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewBitRateFrameTest,
    ::testing::Values(
        NewBitRateCase{"TwoRatios",
                       Definition("38400", 2000, 2, {4, 2, 9, 9}),
                       {0x3F, 0x07, 0x01, 0x80, 0x07, 0xD0, 0x02, 0x04, 0x02, 0x5A}},
        NewBitRateCase{"NoRatios",
                       Definition("38400", 2000, 0, {4, 2, 9, 9}),
                       {0x3F, 0x05, 0x01, 0x80, 0x07, 0xD0, 0x00, 0x64}},
        // 115200 / 100 = 1152 = 0x0480; ClockFreq keeps its low 16 bits; ratios their low 8.
        NewBitRateCase{"LowBitsOnly",
                       Definition("115200", 0x12345, 1, {0x1FE, 0, 0, 0}),
                       {0x3F, 0x06, 0x04, 0x80, 0x23, 0x45, 0x01, 0xFE, 0xD0}},
        // More ratios than exist: the frame carries four and says four.
        NewBitRateCase{"CountAboveFour",
                       Definition("9600", 1, 7, {1, 2, 3, 4}),
                       {0x3F, 0x09, 0x00, 0x60, 0x00, 0x01, 0x04, 0x01, 0x02, 0x03, 0x04, 0x49}},
        NewBitRateCase{"NegativeCount",
                       Definition("9600", 1, -3, {1, 2, 3, 4}),
                       {0x3F, 0x05, 0x00, 0x60, 0x00, 0x01, 0x00, 0x5B}}),
    [](const auto& info) { return std::string(info.param.name); });

struct AckCase {
  const char* name;
  std::vector<std::uint8_t> incoming;
  std::uint32_t elapsedMs;
  AckPoll expected;
};

class AcknowledgementTest : public ::testing::TestWithParam<AckCase> {};

TEST_P(AcknowledgementTest, PollsOnce) {
  testing::StepFixture fx;
  fx.timeout.StartTimeout(500);
  fx.clock.Advance(GetParam().elapsedMs);
  fx.line.Feed(GetParam().incoming);
  EXPECT_EQ(PollAcknowledgement(fx.ctx), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AcknowledgementTest,
                         ::testing::Values(AckCase{"AckAtOnce", {0x06}, 10, AckPoll::Acknowledged},
                                           // a late acknowledgement still counts
                                           AckCase{"AckLate", {0x06}, 900, AckPoll::Acknowledged},
                                           AckCase{"Nak", {0x15}, 10, AckPoll::OtherByte},
                                           AckCase{"OtherByte", {0x00}, 10, AckPoll::OtherByte},
                                           AckCase{"NothingYet", {}, 490, AckPoll::Waiting},
                                           AckCase{"NothingInTime", {}, 500, AckPoll::TimedOut}),
                         testing::CaseName());

}  // namespace
}  // namespace vantrel
