#include "objfile/intel_hex.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/case_name.h"

namespace vantrel {
namespace {

struct HexCase {
  const char* name;
  std::vector<std::string_view> lines;
  HexFault fault;                        // of the last line, or of the file's end
  std::string words;                     // a part of what is said of it
  std::map<std::uint32_t, int> bytes{};  // where the data went
};

class HexFileTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexFileTest, PlacesTheBytesOrSaysWhatIsWrong) {
  const HexCase& c = GetParam();
  HexFileReader reader;
  HexRecord last;
  std::map<std::uint32_t, int> bytes;
  for (const auto line : c.lines) {
    last = reader.Take(line);
    if (last.fault != HexFault::None) break;
    for (std::size_t i = 0; reader.HasData() && i < last.count; ++i) {
      bytes[static_cast<std::uint32_t>(reader.Address(i))] = last.data[i];
    }
  }
  if (last.fault == HexFault::None) last.fault = reader.Finish();
  EXPECT_EQ(last.fault, c.fault);
  EXPECT_NE(HexFaultText(last).find(c.words), std::string::npos) << HexFaultText(last);
  EXPECT_EQ(bytes, c.bytes);
}

constexpr std::string_view kEnd = ":00000001FF";

INSTANTIATE_TEST_SUITE_P(
    Table, HexFileTest,
    ::testing::Values(
        HexCase{"Data",
                {":0300300002337A1E", "", kEnd},
                HexFault::None,
                "",
                {{0x30, 0x02}, {0x31, 0x33}, {0x32, 0x7A}}},
        HexCase{"LinearAddress",
                {":020000040001F9", ":01001000559A", kEnd},
                HexFault::None,
                "",
                {{0x10010, 0x55}}},
        HexCase{"SegmentWrapsAt64KiB",
                {":020000021000EC", ":02FFFF00AABB9B", kEnd},
                HexFault::None,
                "",
                {{0x1FFFF, 0xAA}, {0x10000, 0xBB}}},
        HexCase{"LinearDataPastTheTopAddress",
                {":02000004FFFFFC", ":10FFF800000102030405060708090A0B0C0D0E0F81", kEnd},
                HexFault::PastTop,
                "runs past address 0xFFFFFFFF"},
        HexCase{"StartAddressesIgnored",
                {":0400000300001234B3", ":0400000500001234B1", kEnd},
                HexFault::None,
                ""},
        HexCase{"NoColon", {"S00300"}, HexFault::NoColon, "does not begin with ':'"},
        HexCase{"NotHexDigit", {":0300300002G37A1E"}, HexFault::NotHexDigit, "character 12 is"},
        HexCase{"CountTooLong", {":0400300002337A1E"}, HexFault::Length, "byte count 04"},
        HexCase{"Checksum", {":0300300002337A1F"}, HexFault::Checksum, "1F does not add up (1E"},
        HexCase{"UnknownType", {":00000006FA"}, HexFault::UnknownType, "type 06 is not"},
        HexCase{"AddressOfOneByte", {":0100000400FB"}, HexFault::TypeLength, "holds 2 data bytes"},
        HexCase{"AfterEnd", {kEnd, ":01001000559A"}, HexFault::AfterEnd, "follows the end"},
        HexCase{"NoEnd",
                {":01001000559A"},
                HexFault::NoEnd,
                "without an end-of-file record",
                {{0x10, 0x55}}}),
    testing::CaseName());

}  // namespace
}  // namespace vantrel
