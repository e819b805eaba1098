#include "cli/board/board_job.h"

#include <gtest/gtest.h>

#include "cli/records/sha256.h"
#include "support/sample_control_folder.h"
#include "support/scripted_device.h"
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

// A classic job of 4 KiB on the sample CPU type.
struct SampleJob {
  SampleJob() {
    testing::WriteSampleControlFolder(home);
    testing::SrecWriter program;
    program.Fill(0, 4096);
    o = {.home = home.path(), .cpu = "CLS.mot", .file = home.Write("p.mot", program.Text())};
  }
  testing::TempFolder home;
  CliOptions o;
};

TEST(BoardJob, APortThatDoesNotOpenComesAfterThePhaseItEndedAndBeforeNoOther) {
  SampleJob job;
  testing::ScriptedDevice::State port{.failOpen = true};
  testing::FakeClock clock;
  std::FILE* out = std::tmpfile();
  ConsoleOutput console(out, false, {});
  RunBoardJob({job.o, "/dev/no-such-port", 0, "CpuInf.txt", console}, clock,
              std::make_unique<testing::ScriptedDevice>(port));
  std::string text(512, '\0');
  std::rewind(out);
  text.resize(std::fread(text.data(), 1, text.size(), out));
  std::fclose(out);
  EXPECT_TRUE(
      text.starts_with("書き込み制御プログラムの読み込み\n　ＣＯＭポート初期化 ＮＧ　\nhint:"))
      << text;
  EXPECT_EQ(text.find("ビットレート調整中"), std::string::npos) << text;
}

TEST(BoardJob, ItsRecordHoldsTheTimeOnItsClockAndWhatItRanWith) {
  SampleJob job;
  job.o.verify = true;
  job.o.baudProg = "19200";  // wins over Baud.ini
  std::string error;
  auto board = testing::SimulatedBoard::Make({}, error);
  ASSERT_TRUE(board) << error;
  const BoardRecord r = board->Run(job.o);
  EXPECT_EQ(r.result, "verified") << board->console;
  ASSERT_GT(board->ms, 1000u);  // seconds of fake time, next to none of real time
  EXPECT_DOUBLE_EQ(r.seconds, board->ms / 1000.0);
  EXPECT_EQ(r.controlFile.sha256, FileSha256(job.home.PathOf("CTRL_MOT/CLS.mot")));
  EXPECT_EQ(r.baudBoot + " " + r.baudProg + " " + std::to_string(r.blockSize), "9600 19200 128");
  EXPECT_EQ(r.toolVersion + "\n", CliVersionText());
}

}  // namespace
}  // namespace vantrel::cli
