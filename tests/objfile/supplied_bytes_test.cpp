#include "objfile/supplied_bytes.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "objfile/srecord.h"
#include "objfile/srecord_writer.h"

namespace vantrel {
namespace {

TEST(SuppliedBytes, TheFirstByteASerialNumberWouldReplace) {
  SuppliedBytes bytes(0x1000);
  bytes.Put(0x1002, 0xFF, 1);
  bytes.Put(0x1003, 0x00, 2);
  EXPECT_FALSE(bytes.FirstProgramByte(0x1000, 3)) << "none there, or an erased one";
  EXPECT_EQ(bytes.FirstProgramByte(0x1000, 4).value().file, 2);
}

TEST(SuppliedBytes, TheLowestOverlapWithItsFilesInOrder) {
  SuppliedBytes bytes(0x1000);
  for (const std::uint32_t at : {0x1010u, 0x1008u}) bytes.Put(at, 1, 1);
  bytes.Put(0x1010, 2, 2);
  bytes.Put(0x1008, 3, 3);
  const auto overlap = bytes.overlap().value();
  EXPECT_EQ(overlap.address, 0x1008u);
  EXPECT_EQ(overlap.first, 1);
  EXPECT_EQ(overlap.second, 3);
}

TEST(AppendSRecord, ReadsBackAsWritten) {
  const std::uint8_t data[] = {0x00, 0x7F, 0xFF};
  std::string text;
  AppendSRecord(text, '3', 0x89ABCDEF, data);
  ASSERT_EQ(text.back(), '\n');
  const SRecord r = ParseSRecord(std::string_view(text).substr(0, text.size() - 1));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_FALSE(r.twosComplement);
  EXPECT_EQ(r.address, 0x89ABCDEFu);
  EXPECT_EQ(std::vector<std::uint8_t>(r.data.begin(), r.data.begin() + r.dataLength),
            std::vector<std::uint8_t>(std::begin(data), std::end(data)));
}

}  // namespace
}  // namespace vantrel
