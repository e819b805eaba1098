#include "cli/job_report.h"

#include <gtest/gtest.h>

#include "cli/board_job.h"
#include "cli/gang_summary.h"

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

TEST(JobReport, OneObjectPerBoardWithNullForAProgramNotWritten) {
  BoardRecord ok{"/dev/ttyUSB0",
                 "A.mot",
                 "/p.mot",
                 "ab12",
                 "verified",
                 0,
                 "done",
                 "2024-01-02T03:04:05.006Z",
                 1.5,
                 100,
                 200};
  BoardRecord failed = ok;
  failed.port = "/dev/ttyUSB1";
  failed.sha256.reset();
  failed.result = "failed";
  failed.exitCode = 1;
  const BoardRecord records[] = {ok, failed};
  const std::string json = FormatJobReport(records);
  EXPECT_EQ(json.front(), '[');
  EXPECT_NE(json.find("\"sha256\": \"ab12\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"sha256\": null"), std::string::npos) << json;
  EXPECT_NE(json.find("\"durationSeconds\": 1.500,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"bytesReceived\": 200\n  },\n  {"), std::string::npos) << json;
  EXPECT_EQ(FormatJobReport({}), "[]\n");
}

TEST(GangSummary, ExitCodeAndOneRowPerBoard) {
  auto board = [](const char* port, int code, const char* result) {
    BoardRecord r;
    r.port = port;
    r.exitCode = code;
    r.result = result;
    r.seconds = 2.5;
    r.bytesSent = 10;
    r.bytesReceived = 5;
    return r;
  };
  const BoardRecord allOk[] = {board("A", 0, "verified"), board("B", 0, "verified")};
  const BoardRecord oneFailed[] = {board("A", 1, "failed"), board("B", 0, "verified")};
  const BoardRecord mismatch[] = {board("A", 1, "failed"), board("B", 2, "verify-failed"),
                                  board("C", 0, "verified")};
  EXPECT_EQ(GangExitCode(allOk), 0);
  EXPECT_EQ(GangExitCode(oneFailed), 1);
  EXPECT_EQ(GangExitCode(mismatch), 2);
  EXPECT_EQ(FormatGangSummary(oneFailed),
            "port  result             time       bytes\n"
            "A     failed            2.5 s          15\n"
            "B     verified          2.5 s          15\n");
}

TEST(JobOutcome, AnInterruptAfterTheWorkWasDoneKeepsTheRealResult) {
  struct Case {
    int jobResult;
    bool interrupted;
    bool verify;
    int exitCode;
    const char* result;
  };
  const Case cases[] = {{0, true, true, 0, "verified"},
                        {0, true, false, 0, "written"},
                        {2, true, true, 2, "verify-failed"},
                        {1, true, true, 1, "aborted"},
                        {1, false, true, 1, "failed"}};
  for (const auto& c : cases) {
    const JobOutcome o = DecideOutcome(c.jobResult, c.interrupted, c.verify);
    EXPECT_EQ(o.exitCode, c.exitCode);
    EXPECT_EQ(o.result, c.result);
    EXPECT_EQ(o.aborted, std::string(c.result) == "aborted");
  }
}

}  // namespace
}  // namespace vantrel::cli
