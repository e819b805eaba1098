#include "objfile/srecord.h"

#include <gtest/gtest.h>

#include <cctype>

#include "support/srecord_builder.h"

namespace vantrel {
namespace {

using testing::MakeRecord;

TEST(ParseSRecord, ReadsPublishedExampleRecords) {
  const auto header = ParseSRecord("S00F000068656C6C6F202020202000003C");
  EXPECT_TRUE(header.ok());
  EXPECT_EQ(header.kind, RecordKind::Header);

  const auto data = ParseSRecord("S111003848656C6C6F20776F726C642E0A0042");
  ASSERT_TRUE(data.ok()) << data.error;
  EXPECT_EQ(data.kind, RecordKind::Data);
  EXPECT_EQ(data.address, 0x0038u);
  ASSERT_EQ(data.dataLength, 14u);
  EXPECT_EQ(std::string(data.data.begin(), data.data.begin() + 13), "Hello world.\n");
  EXPECT_EQ(data.data[13], 0);

  const auto end = ParseSRecord("S9030000FC");
  EXPECT_TRUE(end.ok());
  EXPECT_EQ(end.kind, RecordKind::End);
}

TEST(ParseSRecord, AddressWidthFollowsType) {
  const struct {
    char type;
    std::uint32_t address;
    RecordKind kind;
  } cases[] = {{'1', 0xABCD, RecordKind::Data},     {'2', 0xABCDEF, RecordKind::Data},
               {'3', 0x89ABCDEF, RecordKind::Data}, {'7', 0x89ABCDEF, RecordKind::End},
               {'8', 0xABCDEF, RecordKind::End},    {'9', 0xABCD, RecordKind::End}};
  for (const auto& c : cases) {
    const auto r = ParseSRecord(MakeRecord(c.type, c.address, {0x11, 0x22}));
    EXPECT_TRUE(r.ok()) << c.type << " " << r.error;
    EXPECT_EQ(r.kind, c.kind) << c.type;
    EXPECT_EQ(r.address, c.address) << c.type;
  }
}

TEST(ParseSRecord, AcceptsBothChecksumFormsAndLowerCaseHex) {
  const auto ones = MakeRecord('1', 0x1000, {0x01, 0x02, 0xFE});
  const auto twos = MakeRecord('1', 0x1000, {0x01, 0x02, 0xFE}, true);
  ASSERT_NE(ones, twos);
  EXPECT_TRUE(ParseSRecord(ones).ok());
  EXPECT_TRUE(ParseSRecord(twos).ok());
  std::string lower = MakeRecord('2', 0xABCDEF, {0xAB, 0xCD});
  for (std::size_t i = 1; i < lower.size(); ++i)
    lower[i] = static_cast<char>(std::tolower(lower[i]));
  lower[0] = 'S';
  const auto r = ParseSRecord(lower);
  ASSERT_TRUE(r.ok()) << lower;
  EXPECT_EQ(r.address, 0xABCDEFu);
  EXPECT_EQ(r.data[1], 0xCD);
}

TEST(ParseSRecord, HeaderAndEndRecordsIgnoreTheRestOfTheLine) {
  EXPECT_TRUE(ParseSRecord("S0030000not even hex").ok());
  EXPECT_TRUE(ParseSRecord("S9030000").ok());
  const auto tail = ParseSRecord(MakeRecord('1', 0, {0x42}) + "  trailing");
  EXPECT_TRUE(tail.ok());
}

TEST(ParseSRecord, DataRecordWithoutDataBytesStillTestsItsChecksum) {
  EXPECT_TRUE(ParseSRecord("S1030000FC").ok());
  EXPECT_EQ(ParseSRecord("S1030000FB").error, "09");
  // A count too small for the address holds no data; the checksum follows the address.
  EXPECT_TRUE(ParseSRecord("S1020000FD").ok());
}

TEST(ParseSRecord, ReportsEveryErrorCode) {
  const std::string good = MakeRecord('1', 0x1234, {0xAA, 0xBB});  // S1061234AABB..
  std::string badData = good;
  badData[10] = 'Z';
  std::string badChecksumText = good;
  badChecksumText[good.size() - 1] = 'Q';
  std::string badChecksum = good;
  badChecksum[good.size() - 1] = badChecksum.back() == '0' ? '1' : '0';
  const struct {
    std::string line;
    const char* code;
  } cases[] = {
      {"", "01"},
      {"s" + good.substr(1), "01"},
      {" " + good, "01"},
      {"S", "02"},
      {"S1", "02"},
      {"S1G61234AABB00", "02"},
      {"S5030003F9", "03"},
      {"S4030003F9", "03"},
      {"S6030003F9", "03"},
      {"SX030003F9", "03"},
      {"S10612X4AABB00", "04"},
      {"S10612", "04"},
      {badData, "06"},
      {"S1061234AA", "06"},  // the line ends before the second data byte
      {good.substr(0, good.size() - 2), "08"},
      {badChecksumText, "08"},
      {badChecksum, "09"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseSRecord(c.line).error, c.code) << "'" << c.line << "'";
}

TEST(ParseSRecord, KeepsTheDataBytesBeforeABadOne) {
  const auto r = ParseSRecord("S1071234AABBZZ00");
  EXPECT_EQ(r.error, "06");
  EXPECT_EQ(r.address, 0x1234u);
  ASSERT_EQ(r.dataLength, 2u);
  EXPECT_EQ(r.data[0], 0xAA);
  EXPECT_EQ(r.data[1], 0xBB);
}

}  // namespace
}  // namespace vantrel
