#include "cli/mixed_checksums.h"

#include <gtest/gtest.h>

#include "support/srecord_builder.h"
#include "support/temp_folder.h"

namespace vantrel::cli {
namespace {

using testing::MakeRecord;

TEST(FindMixedChecksums, TheFirstRecordOfTheOtherKindUpToTheEndRecord) {
  const std::string ones = MakeRecord('1', 0x1000, {1, 2}) + "\n";
  const std::string twos = MakeRecord('1', 0x1002, {3, 4}, true) + "\n";
  const struct {
    std::string text;
    std::size_t line;  // 0: of one kind
    bool twosComplement;
  } cases[] = {
      {"S0030000FC\n" + ones + ones + twos + ones, 4, true},
      {twos + ones, 2, false},
      {twos + twos, 0, false},
      {ones + "S9030000FC\n" + twos, 0, false},  // never read by the loader
  };
  testing::TempFolder folder;
  for (const auto& c : cases) {
    const auto mixed = FindMixedChecksums(folder.Write("p.mot", c.text));
    EXPECT_EQ(mixed ? mixed->line : 0, c.line) << c.text;
    EXPECT_EQ(mixed && mixed->twosComplement, c.twosComplement) << c.text;
  }
  EXPECT_EQ(MixedChecksumsHint("p.mot", {4, true}),
            "hint: p.mot mixes two kinds of checksum: line 4 is the first record that sums to "
            "0x00 (two's complement) where those before sum to 0xFF; a byte off by one does that "
            "too: if the file was not joined from two tools' outputs, make it again");
}

}  // namespace
}  // namespace vantrel::cli
