#include "platform/text.h"

#include <gtest/gtest.h>

namespace vantrel::platform {
namespace {

TEST(ReadLeadingDecimal, ReadsLikeA32BitAtol) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"38400", 38400},
      {"  +9600", 9600},
      {"-4800", -4800},
      {"19200bps", 19200},
      {"abc", 0},
      {"", 0},
      {"\t\n57600", 57600},
      {"- 5", 0},
      {"99999999999", INT32_MAX},
      {"-99999999999", INT32_MIN},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadLeadingDecimal(text), value) << text;
}

TEST(EqualsIgnoringCase, OnlyAsciiLettersFold) {
  EXPECT_TRUE(EqualsIgnoringCase("Com3", "cOM3"));
  EXPECT_FALSE(EqualsIgnoringCase("COM3", "COM33"));
  // Bytes of a multibyte character are compared as they are.
  EXPECT_FALSE(EqualsIgnoringCase("\xC3\xA4", "\xC3\x84"));
}

}  // namespace
}  // namespace vantrel::platform
