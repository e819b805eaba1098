#include <gtest/gtest.h>

#include "e2e/e2e_job.h"

namespace vantrel::testing {
namespace {

TEST(ExampleProgram, ProgramsAndVerifiesASimulatedBoard) {
  E2eJob job;
  job.program.Fill(0x400, 3000, 7);
  const std::string program = job.WriteProgram();
  ASSERT_TRUE(job.StartTarget({"--erase-ms", "100", "--prog-baud", "57600"}));
  ChildProcess example({kBin + "/program_board", job.port, job.home.path(), "CLS.mot", program});
  EXPECT_EQ(example.Wait(60000), 0) << example.out() << example.err();
  EXPECT_NE(example.out().find(" ユーザープログラム・書き込み＆ベリファイ完了 "), std::string::npos)
      << example.out();
  job.ExpectFlashHoldsProgram(0);
}

}  // namespace
}  // namespace vantrel::testing
