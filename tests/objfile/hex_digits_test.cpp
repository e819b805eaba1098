#include "objfile/hex_digits.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(HexDigitValue, AcceptsBothCasesAndRejectsEverythingElse) {
  const struct {
    char c;
    int value;
  } cases[] = {{'0', 0},
               {'9', 9},
               {'A', 10},
               {'F', 15},
               {'a', 10},
               {'f', 15},
               {'G', 0xFF},
               {'g', 0xFF},
               {'x', 0xFF},
               {' ', 0xFF},
               {'\0', 0xFF},
               {'/', 0xFF},
               {':', 0xFF},
               {'@', 0xFF},
               // only one case fold: a byte 0x20 above 'a' is not a digit
               {'\x81', 0xFF},
               {'\xE3', 0xFF}};
  for (const auto& c : cases) {
    EXPECT_EQ(HexDigitValue(c.c), c.value) << "character code " << int(c.c);
  }
}

TEST(ParseHexBytes, ReadsBigEndianAndReturnsByteSum) {
  std::uint32_t value = 0;
  EXPECT_EQ(ParseHexBytes("12", 1, value), 0x12);
  EXPECT_EQ(value, 0x12u);
  EXPECT_EQ(ParseHexBytes("FFFF", 2, value), 0xFE);
  EXPECT_EQ(value, 0xFFFFu);
  EXPECT_EQ(ParseHexBytes("0a0b0c", 3, value), 0x21);
  EXPECT_EQ(value, 0x0A0B0Cu);
  EXPECT_EQ(ParseHexBytes("DEADBEEF99", 4, value), (0xDE + 0xAD + 0xBE + 0xEF) & 0xFF);
  EXPECT_EQ(value, 0xDEADBEEFu);
}

TEST(ParseHexBytes, RefusesBadCountsAndCharactersAndLeavesValueAlone) {
  std::uint32_t value = 0x5A5A;
  EXPECT_EQ(ParseHexBytes("1234", 0, value), -1);
  EXPECT_EQ(ParseHexBytes("1234567890", 5, value), -1);
  EXPECT_EQ(ParseHexBytes("12G4", 2, value), -1);
  EXPECT_EQ(ParseHexBytes("1", 1, value), -1);  // text ends inside the byte
  EXPECT_EQ(ParseHexBytes("", 1, value), -1);
  EXPECT_EQ(value, 0x5A5Au);
}

TEST(ParseHexNumber, ReadsRomBaseTexts) {
  const struct {
    const char* text;
    std::uint32_t value;
  } cases[] = {
      {"FFFF80", 0xFFFF80},
      {"200H", 0x200},
      {"0x1000", 0},
      {"123456789A", 0x3456789A},
      {"", 0},
      {"ff", 0xFF},
      {"123456789ABC", 0x3456789A},  // only ten characters are looked at
      {" 100", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseHexNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace vantrel
