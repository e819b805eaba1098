#include <gtest/gtest.h>

#include "e2e/e2e_job.h"

namespace vantrel::testing {
namespace {

// A production line's job file works without a display: vantrel-cli --job.
TEST(JobFile, TheJobFileNamesTheCpuTypeProgramAndVerify) {
  E2eJob job;
  job.CpuType("CLS.mot", 256, "0");
  job.program.Fill(0, 2000, 41);
  // Window-only keys are ignored; the port comes from the command line (a pty has no COM number).
  job.home.Write("@AUTO_PGM/line.ini",
                 "[AutoPgm]\nCtrlProgam=CLS.mot\nVerify=1\nAutoExit=1\nLeft=3\nTop=4\n"
                 "UserMotPath=" +
                     job.home.Write("app.mot", job.program.Text()) + "\n");
  ASSERT_TRUE(job.StartTarget({"--protocol", "classic", "--erase-ms", "100", "--prog-baud", "38400",
                               "--block-size", "256"}));
  EXPECT_EQ(
      job.RunCliWith({"--home", CliPath(job.home.path()), "--port", job.port, "--job", "line.ini"}),
      0)
      << job.cliErr;
  EXPECT_NE(job.cliErr.find("書き込み＆ベリファイ完了"), std::string::npos) << job.cliErr;
  job.ExpectFlashHoldsProgram(0);
}

TEST(JobFile, AnIncompleteJobIsAUsageError) {
  E2eJob job;
  job.home.Write("@AUTO_PGM/AutoPgm.ini", "[AutoPgm]\nCtrlProgam=CLS.mot\nUserMotPath=/w/a.hex\n");
  job.home.Write("@AUTO_PGM/line3.ini", "[AutoPgm]\n");
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"--job", "missing.ini"}, "cannot read the job file"},
      {{"--job", "line3"}, "; did you mean --job line3.ini?"},
      {{"--job", "--port", "/dev/null"}, "names no user program"},  // the .hex is refused
      {{"--job"}, "--port is required"},
  };
  for (const auto& c : cases) {
    auto args = c.args;
    args.insert(args.begin(), {"--home", CliPath(job.home.path())});
    EXPECT_EQ(job.RunCliWith(args, 10000), 64) << c.says;
    EXPECT_NE(job.cliErr.find(c.says), std::string::npos) << job.cliErr;
  }
}

}  // namespace
}  // namespace vantrel::testing
