#include "cli/program/mixed_checksums.h"

#include <gtest/gtest.h>

#include "support/srecord_builder.h"
#include "support/temp_folder.h"

namespace vantrel::cli {
namespace {

using testing::MakeRecord;

TEST(FindMixedChecksums, TheFirstRecordOfTheOtherKindUpToTheEndRecord) {
  const std::string ones = MakeRecord('1', 0x1000, {1, 2}) + "\n";
  const std::string twos = MakeRecord('1', 0x1002, {3, 4}, true) + "\n";
  const std::pair<std::string, std::size_t> cases[] = {
      {"S0030000FC\n" + ones + ones + twos + ones, 4},  // line 0: of one kind
      {twos + ones, 2},
      {twos + twos, 0},
      {ones + "S9030000FC\n" + twos, 0},  // never read by the loader
  };
  testing::TempFolder folder;
  for (const auto& [text, line] : cases) {
    const auto mixed = FindMixedChecksums(folder.Write("p.mot", text));
    EXPECT_EQ(mixed ? mixed->line : 0, line) << text;
  }
}

}  // namespace
}  // namespace vantrel::cli
