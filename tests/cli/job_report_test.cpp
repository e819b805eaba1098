#include "cli/records/job_report.h"

#include <gtest/gtest.h>

#include "cli/board/board_job.h"
#include "cli/station/gang_summary.h"
#include "cli/station/station_totals.h"
#include "platform/file_access.h"
#include "support/fake_clock.h"

namespace vantrel::cli {
namespace {

TEST(JsonString, EscapesWhatJsonNeedsAndKeepsUtf8) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\"b\\c", R"("a\"b\\c")"},
      {"tab\tend\n", R"("tab\u0009end\u000a")"},
      {"\u3000ベリファイ不一致", "\"\u3000ベリファイ不一致\""},
      {"bad\xFF\xC3", R"("bad\ufffd\ufffd")"},      // a stray byte, a cut sequence
      {"\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},  // a surrogate is no character
  };
  for (const auto& [text, json] : cases) EXPECT_EQ(JsonString(text), json);
}

TEST(GangSummary, AFailedVerificationOutweighsAFailedJob) {
  auto board = [](int code) {
    BoardRecord r;
    r.exitCode = code;
    return r;
  };
  const BoardRecord allOk[] = {board(0), board(0)};
  const BoardRecord oneFailed[] = {board(1), board(0)};
  const BoardRecord mismatch[] = {board(1), board(2), board(0)};
  EXPECT_EQ(GangExitCode(allOk), 0);
  EXPECT_EQ(GangExitCode(oneFailed), 1);
  EXPECT_EQ(GangExitCode(mismatch), 2);
}

TEST(GangSummary, AFailedRowSaysWhyAndAVerifyFailureWhere) {
  BoardRecord passed{.port = "/dev/ttyUSB0", .result = "verified", .exitCode = 0};
  BoardRecord failed{.port = "/dev/ttyUSB1", .result = "verify-failed", .exitCode = 2};
  failed.message = WithoutFramingBlanks("\u3000 ベリファイ不一致 \u3000");
  failed.firstDifference = 0x1234;
  const BoardRecord records[] = {passed, failed};
  const std::string summary = FormatGangSummary(records);
  EXPECT_NE(summary.find("/dev/ttyUSB0  verified          0.0 s           0\n"), std::string::npos)
      << summary;
  EXPECT_NE(summary.find("0  ベリファイ不一致 (first difference at 0x00001234)\n"),
            std::string::npos)
      << summary;
}

TEST(WriteJobReport, ADeviceIsWrittenAsItIsNotReplaced) {
#ifdef _WIN32
  GTEST_SKIP() << "no /dev";
#endif
  EXPECT_TRUE(platform::IsStream("/dev/stdout"));
  EXPECT_FALSE(platform::IsStream("/"));
  std::string error;
  EXPECT_TRUE(WriteJobReport("/dev/null", {}, error)) << error;
}

TEST(JobReport, AFailedVerificationSaysWhatItSaw) {
  const BoardRecord r{.result = "verify-failed", .exitCode = 2, .verifyFailure = "checksum"};
  EXPECT_NE(FormatBoardObject(r, JsonLayout::OneLine).find("\"verifyFailure\": \"checksum\""),
            std::string::npos);
  testing::FakeClock clock;
  EXPECT_TRUE(
      StationTotals(clock).Count(r).starts_with("board 1  verify-failed (checksum)  passed"));
}

TEST(JobOutcome, AnInterruptAfterTheWorkWasDoneKeepsTheRealResult) {
  struct Case {
    JobResultCode jobResult;
    bool interrupted;
    bool verify;
    int exitCode;
    const char* result;
  };
  using enum JobResultCode;
  const Case cases[] = {{Completed, true, true, 0, "verified"},
                        {Completed, true, false, 0, "written"},
                        {VerifyFailed, true, true, 2, "verify-failed"},
                        {NotCompleted, true, true, 1, "aborted"},
                        {NotCompleted, false, true, 1, "failed"}};
  for (const auto& c : cases) {
    const JobOutcome o = DecideOutcome(c.jobResult, c.interrupted, c.verify);
    EXPECT_EQ(o.exitCode, c.exitCode);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(o.aborted, std::string(c.result) == "aborted");
  }
}

}  // namespace
}  // namespace vantrel::cli
