#include "simulator/uart_rate.h"

#include <gtest/gtest.h>

namespace vantrel::simulator {
namespace {

TEST(UartRate, CharacterTimeIsTenBitsRoundedUp) {
  EXPECT_EQ(CharTimeUs(9600), 1042u);
  EXPECT_EQ(CharTimeUs(115200), 87u);
  EXPECT_EQ(CharTimeUs(10'000'000), 1u);
  EXPECT_EQ(CharTimeUs(0), 0u);
}

TEST(UartRate, RatesWithinTwoPercentUnderstandEachOther) {
  EXPECT_TRUE(SameRate(9600, 9600));
  EXPECT_TRUE(SameRate(9600, 9792));
  EXPECT_FALSE(SameRate(9600, 9900));
  EXPECT_FALSE(SameRate(0, 0));
}

TEST(UartRate, SameRateDeliversEveryByteIntact) {
  for (int b = 0; b < 256; ++b) {
    const auto v = static_cast<std::uint8_t>(b);
    EXPECT_EQ(ReceiveAcrossRates(v, 19200, 19200), v);
  }
}

TEST(UartRate, AnotherRateNeverDeliversTheByteSent) {
  const std::pair<std::uint32_t, std::uint32_t> pairs[] = {
      {9600, 19200},  {19200, 9600}, {9600, 115200}, {115200, 9600}, {38400, 57600},
      {57600, 38400}, {7200, 9600},  {14400, 9600},  {28800, 38400}, {2400, 9600}};
  for (const auto& [sender, receiver] : pairs) {
    for (int b = 0; b < 256; ++b) {
      const auto v = static_cast<std::uint8_t>(b);
      const auto got = ReceiveAcrossRates(v, sender, receiver);
      if (got) {
        EXPECT_NE(*got, v) << sender << "->" << receiver << " byte " << b;
      }
      // The result is a property of the line, not of chance.
      EXPECT_EQ(got, ReceiveAcrossRates(v, sender, receiver));
    }
  }
}

TEST(UartRate, ZeroByteAtTwiceTheRateReadsAsHighBits) {
  // A slow receiver sees the short low pulse and then the idle line.
  EXPECT_EQ(ReceiveAcrossRates(0x00, 19200, 9600), 0xF8);
  // A fast receiver finds no stop bit inside the long low pulse.
  EXPECT_EQ(ReceiveAcrossRates(0x00, 9600, 19200), std::nullopt);
}

TEST(UartRate, NoiseHasNoRateAndArrivesAsItIs) {
  EXPECT_EQ(ReceiveAcrossRates(0x13, 0, 9600), 0x13);
}

}  // namespace
}  // namespace vantrel::simulator
