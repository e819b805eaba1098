#include "cli/serial_numbers.h"

#include <gtest/gtest.h>

#include "cli/serial_format.h"
#include "support/case_name.h"
#include "support/temp_folder.h"

namespace vantrel::cli {
namespace {

TEST(SerialBytes, EachFormatAndTheFirstNumberPastIt) {
  const struct {
    const char* format;
    std::uint64_t number;
    std::vector<std::uint8_t> bytes;  // empty: does not fit
  } cases[] = {
      {"le16", 0x1234, {0x34, 0x12}},
      {"be16", 0x1234, {0x12, 0x34}},
      {"le16", 0x10000, {}},
      {"le32", 1000, {0xE8, 0x03, 0, 0}},
      {"be32", 0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"be32", 0x100000000, {}},
      {"le64", 0x0102030405060708, {8, 7, 6, 5, 4, 3, 2, 1}},
      {"be64", 0x0102030405060708, {1, 2, 3, 4, 5, 6, 7, 8}},
      {"ascii:6", 1042, {'0', '0', '1', '0', '4', '2'}},
      {"ascii:3", 999, {'9', '9', '9'}},
      {"ascii:3", 1000, {}},
  };
  for (const auto& c : cases) {
    const auto format = ParseSerialFormat(c.format);
    ASSERT_TRUE(format) << c.format;
    EXPECT_EQ(SerialBytes(c.number, *format), c.bytes) << c.format << " " << c.number;
  }
  for (const char* bad : {"le24", "LE32", "ascii:0", "ascii:21", "ascii:0x5", "ascii"}) {
    EXPECT_FALSE(ParseSerialFormat(bad)) << bad;
  }
}

struct FileCase {
  const char* name;
  std::optional<std::string> before;  // the file's text; nothing: no file yet
  std::uint64_t limit;
  std::vector<std::uint64_t> taken;  // empty: refused
  std::string after;                 // the file's text afterwards, or a part of the reason
};

class SerialFileTest : public ::testing::TestWithParam<FileCase> {};

// Three numbers from 1000 on, 5 apart.
TEST_P(SerialFileTest, TakesThreeNumbers) {
  const FileCase& c = GetParam();
  testing::TempFolder folder;
  const std::string path = folder.PathOf("serial.txt");
  if (c.before) folder.Write("serial.txt", *c.before);
  SerialNumbers numbers(1000, 5, c.limit, path);
  std::string error;
  const auto taken = numbers.Take(3, error);
  if (c.taken.empty()) {
    EXPECT_FALSE(taken);
    EXPECT_NE(error.find(c.after), std::string::npos) << error;
    EXPECT_EQ(folder.Read("serial.txt"), c.before.value_or("")) << "the file is left as it was";
    return;
  }
  ASSERT_TRUE(taken) << error;
  EXPECT_EQ(*taken, c.taken);
  EXPECT_EQ(folder.Read("serial.txt"), c.after);
  // The next run goes on from the file.
  EXPECT_EQ(SerialNumbers(0, 5, c.limit, path).Take(1, error), std::vector{c.taken.back() + 5});
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialFileTest,
    ::testing::Values(FileCase{"NoFileYet", std::nullopt, 0xFFFF, {1000, 1005, 1010}, "1015\n"},
                      FileCase{"TheFileWins", "42\n", 0xFFFF, {42, 47, 52}, "57\n"},
                      FileCase{"WindowsLineEnd", "42\r\n", 0xFFFF, {42, 47, 52}, "57\n"},
                      FileCase{"Garbage", "42 boards\n", 0xFFFF, {}, "does not hold one decimal"},
                      FileCase{"Empty", "", 0xFFFF, {}, "does not hold one decimal"},
                      FileCase{"RunsOut", "65530\n", 0xFFFF, {}, "65540 does not fit"}),
    testing::CaseName());

}  // namespace
}  // namespace vantrel::cli
