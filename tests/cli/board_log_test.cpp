#include "cli/records/board_log.h"

#include <gtest/gtest.h>

#include "platform/host_name.h"
#include "support/full_disk.h"
#include "support/lines.h"
#include "support/temp_folder.h"

namespace vantrel::cli {
namespace {

// The JSON text without the blanks between its tokens; those inside strings stay.
std::string Tokens(std::string_view json) {
  std::string out;
  bool inString = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    if (inString && json[i] == '\\') {
      out += json.substr(i++, 2);
      continue;
    }
    if (json[i] == '"') inString = !inString;
    if (inString || (json[i] != ' ' && json[i] != '\n')) out += json[i];
  }
  return out;
}

TEST(BoardLog, EachJobIsOneLineWithTheReportsFieldsAndEveryRunAppends) {
  testing::TempFolder folder;
  BoardRecord records[] = {
      {.port = "/dev/ttyUSB0", .result = "failed", .message = "two\nlines, \"quoted\""},
      {.port = "COM3",
       .sha256 = "ab12",
       .result = "verify-failed",
       .exitCode = 2,
       .message = "ベリファイ不一致",
       .firstDifference = 0x1230},
      {.port = "/dev/ttyUSB1", .result = "verified", .exitCode = 0, .message = "bad\xFF"},
  };
  for (int run = 0; run < 2; ++run) {
    std::string error;
    const auto log = BoardLog::Open(folder.PathOf("station.jsonl"), error);
    ASSERT_TRUE(log) << error;
    for (const auto& r : records) EXPECT_TRUE(log->Add(r));
  }
  const auto lines = testing::Lines(folder.Read("station.jsonl"));
  ASSERT_EQ(lines.size(), 6u);
  const std::string host = ",\"hostName\":" + JsonString(platform::HostName()) + "}";
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string report = Tokens(FormatJobReport(std::span(&records[i % 3], 1)));
    const std::string line = Tokens(lines[i]);
    ASSERT_TRUE(line.ends_with(host)) << lines[i];
    EXPECT_EQ("[" + line.substr(0, line.size() - host.size()) + "}]", report);
  }
}

TEST(BoardLog, OneThatCannotBeOpenedSaysWhy) {
  testing::TempFolder folder;
  for (const std::string& path : {folder.path(), folder.PathOf("none/station.jsonl")}) {
    std::string error;
    EXPECT_FALSE(BoardLog::Open(path, error));
    EXPECT_TRUE(error.starts_with("the log " + path + " cannot be opened for appending: "))
        << error;
  }
}

#ifndef _WIN32
TEST(BoardLog, ARecordIsWholeOrAbsentAndStartsOnALineOfItsOwn) {
  testing::TempFolder folder;
  // A line cut short by a full disk, before records were cut back.
  const std::string path = folder.Write("station.jsonl", "{\"a\":1}\n{\"hal");
  std::string error;
  const auto log = platform::AppendFile::Open(path, error);
  ASSERT_TRUE(log) << error;
  ASSERT_TRUE(log->Append("{\"b\":2}\n"));
  const std::string before = folder.Read("station.jsonl");
  EXPECT_EQ(before, "{\"a\":1}\n{\"hal\n{\"b\":2}\n");
  const std::string record = "{\"c\":\"" + std::string(70, '3') + "\"}\n";
  EXPECT_EQ(testing::WriteOnAFullDisk(before.size() + 20, [&] { return log->Append(record); }),
            false);
  EXPECT_EQ(folder.Read("station.jsonl"), before) << "no part of the record is left";
  EXPECT_TRUE(log->Append("{\"d\":4}\n"));
  EXPECT_EQ(folder.Read("station.jsonl"), before + "{\"d\":4}\n");
}
#endif

}  // namespace
}  // namespace vantrel::cli
