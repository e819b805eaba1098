#include <gtest/gtest.h>

#include "process/window_app.h"

namespace vantrel::testing {
namespace {

constexpr const char* kCaption = "^ Vantrel Ver\\.0\\.39b1$";
constexpr const char* kWrongExtension = " 拡張子は \".MOT\" or \".S\" のみサポート\u3000";

// Ends the first copy as the close box does and returns what it saved.
std::string CloseAndReadSettings(ChildProcess& first, E2eJob& job) {
  first.Signal(SIGTERM);
  EXPECT_EQ(first.Wait(10000), 0) << first.err();
  return job.home.Read("vantrel.ini");
}

TEST(Forwarding, LaterStartsHandTheirCommandLineToTheFirstCopy) {
  E2eJob job;
  WindowApp app(job);
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForWindow(kCaption, first->pid()));

  // The later copy ends only once the first has handled its text, message box included.
  auto later = app.Start({"/w/typo.txt"});
  ASSERT_TRUE(WindowApp::WaitForWindow("^vtl$", first->pid()));
  EXPECT_FALSE(later->Wait(300).has_value()) << "ended before the box was pressed";
  EXPECT_TRUE(WindowApp::PressOk(first->pid()));
  EXPECT_EQ(later->Wait(10000), 0);
  EXPECT_TRUE(WindowApp::Showed(*first, kWrongExtension)) << first->err();

  // 260 bytes are refused, 259 taken.
  const std::string folder = "/" + std::string(251, 'f') + "/";
  auto tooLong = app.Start({folder + "abc.mot"});
  EXPECT_TRUE(WindowApp::PressOk(first->pid()));
  EXPECT_EQ(tooLong->Wait(10000), 0);
  EXPECT_TRUE(WindowApp::Showed(*first, "Too Long Parameter")) << first->err();
  const std::string settingsBefore259 = job.home.Read("vantrel.ini");
  EXPECT_EQ(app.Start({folder + "ab.mot"})->Wait(10000), 0);

  // Without a command line the later copy says it must not run twice, and ends after OK.
  auto bare = app.Start();
  EXPECT_TRUE(WindowApp::PressOk(bare->pid()));
  EXPECT_EQ(bare->Wait(10000), 0);
  EXPECT_TRUE(WindowApp::Showed(*bare, "\u3000VTL は２重起動禁止です！\u3000")) << bare->err();

  const std::string settings = CloseAndReadSettings(*first, job);
  EXPECT_NE(settings.find("\nMOT_Path=" + folder + "ab.mot\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("\nOD1_Path=/" + std::string(251, 'f') + "\n"), std::string::npos);
}

TEST(Forwarding, FiveArgumentsForwardFour) {
  E2eJob job;
  WindowApp app(job);
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForWindow(kCaption, first->pid()));
  EXPECT_EQ(app.Start({"/w/", "p", "1", ".mot", "/w/fifth.mot"})->Wait(10000), 0);
  EXPECT_NE(CloseAndReadSettings(*first, job).find("\nMOT_Path=/w/p1.mot\n"), std::string::npos);
}

TEST(Forwarding, AForwardedJobRunsInTheIdleFirstCopyAndEndsIt) {
  E2eJob job;
  WindowApp app(job);
  job.CpuType("CLS.mot", 128, "0");
  ASSERT_TRUE(
      job.StartTarget({"--protocol", "classic", "--erase-ms", "100", "--prog-baud", "38400"}));
  job.program.Fill(0, 700, 31);
  job.home.Write("vantrel.ini", "[CommPort]\nPortNo=" + job.pty + "\n");
  job.home.Write("@AUTO_PGM/line.ini",
                 "[AutoPgm]\nAutoStart=1\nAutoExit=1\nVerify=1\nCtrlProgam=CLS.mot\nUserMotPath=" +
                     job.home.Write("app.mot", job.program.Text()) + "\n");
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForWindow(kCaption, first->pid()));
  EXPECT_EQ(app.Start({"-GO", "line.ini"})->Wait(10000), 0);
  EXPECT_EQ(first->Wait(60000), 0) << first->err();
  job.ExpectFlashHoldsProgram(0);
}

TEST(Forwarding, TwoCopiesStartedTogetherMakeOneWindow) {
  E2eJob job;
  WindowApp app(job);
  auto one = app.Start();
  auto two = app.Start();
  // One is the window; the other says so in a box and ends once it is pressed.
  for (int i = 0; i < 200 && WindowApp::Windows("^vtl$").empty(); ++i) ::usleep(50000);
  const bool oneIsLater = !WindowApp::Windows("^vtl$", one->pid()).empty();
  ChildProcess& later = oneIsLater ? *one : *two;
  ChildProcess& first = oneIsLater ? *two : *one;
  EXPECT_TRUE(WindowApp::PressOk(later.pid())) << later.err();
  EXPECT_EQ(later.Wait(10000), 0) << later.err() << "\n--\n" << first.err();
  ASSERT_TRUE(WindowApp::WaitForWindow(kCaption, first.pid()));
  EXPECT_EQ(WindowApp::Windows(kCaption).size(), 1u);
  CloseAndReadSettings(first, job);
}

}  // namespace
}  // namespace vantrel::testing
