#include "cli/board_job.h"

#include <gtest/gtest.h>

#include "support/sample_control_folder.h"
#include "support/simulated_board.h"

namespace vantrel::cli {
namespace {

TEST(BoardJob, ACpuReportAskedForThatCannotBeWrittenIsSaidAndFailsTheExitCode) {
  testing::TempFolder home;
  testing::WriteSampleControlFolder(home);
  home.Write("CpuInf.txt/in-the-way", "");  // a folder where the report would go
  testing::SrecWriter program;
  program.Fill(0, 256);
  CliOptions o;
  o.home = home.path();
  o.cpu = "INQ.inf";
  o.file = home.Write("p.mot", program.Text());
  o.cpuReport = true;
  std::string error;
  auto board = testing::SimulatedBoard::Make({"--protocol", "inquiry"}, error);
  ASSERT_TRUE(board) << error;
  const BoardRecord r = board->Run(o);
  EXPECT_EQ(r.result, "written");  // the board itself was programmed
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(board->console.find("vantrel-cli: cannot write the CPU report " +
                                home.PathOf("CpuInf.txt") + "\n"),
            std::string::npos)
      << board->console;
}

}  // namespace
}  // namespace vantrel::cli
