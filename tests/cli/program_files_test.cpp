#include "cli/program/program_files.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/case_name.h"
#include "support/temp_folder.h"

namespace vantrel::cli {
namespace {

TEST(ClassifyProgramFile, ByNameAndAnAddressOnlyAfterBin) {
  const struct {
    const char* argument;
    ProgramKind kind;
    const char* path;
    std::uint32_t address;
  } cases[] = {
      {"boot.HEX", ProgramKind::IntelHex, "boot.HEX", 0},
      {"boot.ihx", ProgramKind::IntelHex, "boot.ihx", 0},
      {"app.bin@0x8000", ProgramKind::Binary, "app.bin", 0x8000},
      {"a@b.Bin@256", ProgramKind::Binary, "a@b.Bin", 256},
      {"app.bin@main", ProgramKind::SRecords, "app.bin@main", 0},
      {"me@host.mot", ProgramKind::SRecords, "me@host.mot", 0},
  };
  for (const auto& c : cases) {
    const ProgramFile f = ClassifyProgramFile(c.argument);
    EXPECT_EQ(f.kind, c.kind) << c.argument;
    EXPECT_EQ(f.path, c.path);
    EXPECT_EQ(f.address, c.address) << c.argument;
  }
}

struct MergeCase {
  const char* name;
  std::vector<std::pair<const char*, const char*>> files;  // argument, text
  std::string result;  // the S-records made, or a part of the problem's message
};

class MergeTest : public ::testing::TestWithParam<MergeCase> {};

// The ROM window starts at 0x1000.
TEST_P(MergeTest, OneImageOrTheProblem) {
  testing::TempFolder folder;
  std::vector<ProgramFile> files;
  for (const auto& [argument, text] : GetParam().files) {
    files.push_back(ClassifyProgramFile(argument));
    folder.Write(files.back().path, text);
    files.back().path = folder.PathOf(files.back().path);
  }
  auto bytes = std::make_unique<SuppliedBytes>(0x1000);
  const auto problem = ReadProgramFiles(files, *bytes);
  const std::string got = problem ? problem->message : bytes->SRecordText();
  EXPECT_NE(got.find(GetParam().result), std::string::npos) << got;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MergeTest,
    ::testing::Values(
        MergeCase{"BootAndApplication",
                  {{"boot.hex", ":02100000AABB89\n:00000001FF\n"}, {"app.mot", "S1051002CCDD3F\n"}},
                  "S0030000FC\nS30900001000AABBCCDDD8\nS70500000000FA\n"},
        MergeCase{"BelowTheWindowDropped",
                  {{"low.bin@0xFFE", "\x01\x02\x03\x04"}},
                  "S0030000FC\nS307000010000304E1\nS70500000000FA\n"},
        MergeCase{"OneFileMaySupplyAByteTwice",
                  {{"app.mot", "S10510000102E7\nS104100109E1\n"}},
                  "S0030000FC\nS307000010000109DE\nS70500000000FA\n"},
        MergeCase{"TwoFilesMayNot",
                  {{"a.mot", "S10510000102E7\n"}, {"b.bin@0x1001", "\x09"}},
                  "a.mot and b.bin@0x1001 both supply the byte at 0x00001001"},
        MergeCase{"BinaryPastTheTopAddress",
                  {{"x.bin@0xFFFFFFFF", "\x01\x02"}},
                  "x.bin@0xFFFFFFFF: its data runs past address 0xFFFFFFFF"},
        MergeCase{
            "SRecordPastTheTopAddress",
            {{"a.hex", ":00000001FF\n"}, {"b.mot", "S1051000AABB85\nS30AFFFFFFFF0102030405EA\n"}},
            "b.mot line 2: its data runs past address 0xFFFFFFFF"},
        MergeCase{"HexFaultNamesFileAndLine",
                  {{"a.mot", "S10510000102E7\n"}, {"bad.hex", ":02100000AABB89\n:0100\n"}},
                  "bad.hex line 2: its length does not match"}),
    testing::CaseName());

}  // namespace
}  // namespace vantrel::cli
