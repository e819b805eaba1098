#include <gtest/gtest.h>

#include "process/window_app.h"

namespace vantrel::testing {
namespace {

constexpr const char* kWrongExtension = " 拡張子は \".MOT\" or \".S\" のみサポート\u3000";

// Ends the first copy as the close box does and returns what it saved.
std::string CloseAndReadSettings(ChildProcess& first, E2eJob& job) {
  WindowApp::Close(first);
  EXPECT_EQ(first.Wait(20000), 0) << first.err();
  return job.home.Read("vantrel.ini");
}

// A folder with a separator at the end whose name makes it `size` bytes as the program sees it.
std::string FolderOfSize(std::size_t size) {
  const std::size_t frame = WindowApp::AppPath("//").size();
  return WindowApp::AppPath("/" + std::string(size - frame, 'f') + "/");
}

TEST(Forwarding, LaterStartsHandTheirCommandLineToTheFirstCopy) {
  E2eJob job;
  WindowApp app(job);
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForMainWindow(first->pid()));

  // The later copy ends only once the first has handled its text, message box included.
  auto later = app.Start({WindowApp::AppPath("/w/typo.txt")});
  ASSERT_TRUE(WindowApp::WaitForBox(first->pid()));
  EXPECT_FALSE(later->Wait(300).has_value()) << "ended before the box was pressed";
  EXPECT_TRUE(WindowApp::PressOk(first->pid()));
  EXPECT_EQ(later->Wait(20000), 0);
  EXPECT_TRUE(WindowApp::Showed(*first, kWrongExtension)) << first->err();

  // 260 bytes are refused, 259 taken.
  const std::string folder = FolderOfSize(253);
  auto tooLong = app.Start({folder + "abc.mot"});
  EXPECT_TRUE(WindowApp::PressOk(first->pid()));
  EXPECT_EQ(tooLong->Wait(20000), 0);
  EXPECT_TRUE(WindowApp::Showed(*first, "Too Long Parameter")) << first->err();
  EXPECT_EQ(app.Start({folder + "ab.mot"})->Wait(20000), 0);

  // Without a command line the later copy says it must not run twice, and ends after OK.
  auto bare = app.Start();
  EXPECT_TRUE(WindowApp::PressOk(bare->pid()));
  EXPECT_EQ(bare->Wait(20000), 0);
  EXPECT_TRUE(WindowApp::Showed(*bare, "\u3000VTL は２重起動禁止です！\u3000")) << bare->err();

  const std::string settings = CloseAndReadSettings(*first, job);
  EXPECT_NE(settings.find("\nMOT_Path=" + folder + "ab.mot\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("\nOD1_Path=" + folder.substr(0, folder.size() - 1) + "\n"),
            std::string::npos)
      << settings;
}

TEST(Forwarding, FiveArgumentsForwardFour) {
  E2eJob job;
  WindowApp app(job);
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForMainWindow(first->pid()));
  const std::string folder = WindowApp::AppPath("/w/");
  EXPECT_EQ(app.Start({folder, "p", "1", ".mot", folder + "fifth.mot"})->Wait(20000), 0);
  EXPECT_NE(CloseAndReadSettings(*first, job).find("\nMOT_Path=" + folder + "p1.mot\n"),
            std::string::npos);
}

TEST(Forwarding, AForwardedJobRunsInTheIdleFirstCopyAndEndsIt) {
  E2eJob job;
  WindowApp app(job);
  job.CpuType("CLS.mot", 128, "0");
  ASSERT_TRUE(
      job.StartTarget({"--protocol", "classic", "--erase-ms", "100", "--prog-baud", "38400"}));
  job.program.Fill(0, 700, 31);
  job.home.Write("vantrel.ini", "[CommPort]\nPortNo=" + job.port + "\n");
  job.home.Write("@AUTO_PGM/line.ini",
                 "[AutoPgm]\nAutoStart=1\nAutoExit=1\nVerify=1\nCtrlProgam=CLS.mot\nUserMotPath=" +
                     WindowApp::AppPath(job.home.Write("app.mot", job.program.Text())) + "\n");
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForMainWindow(first->pid()));
  EXPECT_EQ(app.Start({"-GO", "line.ini"})->Wait(20000), 0);
  EXPECT_EQ(first->Wait(60000), 0) << first->err();
  job.ExpectFlashHoldsProgram(0);
}

TEST(Forwarding, TwoCopiesStartedTogetherMakeOneWindow) {
  E2eJob job;
  WindowApp app(job);
  std::unique_ptr<ChildProcess> copies[] = {app.Start(), app.Start()};
  // One is the window; the other says so in a box and ends once it is pressed.
  EXPECT_TRUE(WindowApp::PressOk(0));
  int later = -1;
  for (int i = 0; i < 400 && later < 0; ++i) {
    for (int c = 0; c < 2; ++c) {
      if (copies[c]->Wait(0).has_value()) later = c;
    }
    ::usleep(50000);
  }
  ASSERT_GE(later, 0) << "neither copy ended";
  EXPECT_EQ(copies[later]->Wait(0), 0);
  ChildProcess& first = *copies[1 - later];
  ASSERT_TRUE(WindowApp::WaitForMainWindow(first.pid()));
  EXPECT_EQ(WindowApp::MainWindows(), 1u);
  CloseAndReadSettings(first, job);
}

}  // namespace
}  // namespace vantrel::testing
