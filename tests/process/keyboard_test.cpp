#include <gtest/gtest.h>

#include "process/window_app.h"

namespace vantrel::testing {
namespace {

// Client pixels of the controls as designed.
constexpr int kEdit1[] = {200, 84};
constexpr int kCpuType[] = {60, 26};
constexpr int kProgramButton[] = {55, 108};

// Replaces the text of the field at `at` as a person does: click into it, select it, type.
void TypeInto(const std::string& window, const int (&at)[2], const std::string& text) {
  ASSERT_TRUE(WindowApp::Xdo({"mousemove", "--window", window, std::to_string(at[0]),
                              std::to_string(at[1]), "click", "1"}));
  ASSERT_TRUE(WindowApp::Xdo({"key", "End", "shift+Home"}));
  ASSERT_TRUE(WindowApp::Xdo({"type", "--delay", "20", text}));
}

// A path typed into Edit1 is the program written, though the focus went to another program's
// box and came back before the Program button was pressed.
TEST(Keyboard, TheTypedProgramIsWrittenAfterTheFocusLeftTheWindowAndCameBack) {
  E2eJob job;
  WindowApp app(job);
  job.CpuType("CLS.mot", 128, "0");
  ASSERT_TRUE(
      job.StartTarget({"--protocol", "classic", "--erase-ms", "100", "--prog-baud", "38400"}));
  SrecWriter old;
  old.Fill(0, 300, 41);
  job.program.Fill(0, 300, 42);
  const std::string typed = WindowApp::AppPath(job.home.Write("new.mot", job.program.Text()));
  job.home.Write(
      "vantrel.ini",
      "[CommPort]\nPortNo=" + job.port + "\n[Writer]\nCPU=CLS.mot\n" +
          "[Path]\nMOT_Path=" + WindowApp::AppPath(job.home.Write("old.mot", old.Text())) + "\n");
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForMainWindow(first->pid())) << first->err();
  const std::string window = WindowApp::WindowId(first->pid());
  TypeInto(window, kEdit1, typed);

  auto later = app.Start();  // its box takes the focus
  ASSERT_TRUE(WindowApp::WaitForBox(later->pid()));
  ASSERT_TRUE(WindowApp::Xdo({"windowfocus", "--sync", WindowApp::WindowId(later->pid(), true)}));
  EXPECT_TRUE(WindowApp::PressOk(later->pid()));
  EXPECT_EQ(later->Wait(20000), 0);
  ASSERT_TRUE(WindowApp::Xdo({"windowfocus", "--sync", window}));
  ASSERT_TRUE(WindowApp::Xdo({"mousemove", "--window", window, std::to_string(kProgramButton[0]),
                              std::to_string(kProgramButton[1]), "click", "1"}));
  EXPECT_TRUE(WindowApp::PressOk(first->pid()));  // the job's completion box
  WindowApp::Close(*first);
  EXPECT_EQ(first->Wait(20000), 0) << first->err();
  job.ExpectFlashHoldsProgram(0);
}

// Typing into an editable combo box applies the text as typed, never a completion of it.
TEST(Keyboard, ACpuTypeTypedIsAppliedAsTyped) {
  E2eJob job;
  WindowApp app(job);
  job.home.Write("CTRL_MOT/b.inf", "");
  job.home.Write("CTRL_MOT/Baud.ini", "[b]\nBaudB=2400\n[b.inf]\nBaudB=4800\n");
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForMainWindow(first->pid())) << first->err();
  TypeInto(WindowApp::WindowId(first->pid()), kCpuType, "b");
  WindowApp::Close(*first);
  EXPECT_EQ(first->Wait(20000), 0) << first->err();
  const std::string settings = job.home.Read("vantrel.ini");
  EXPECT_NE(settings.find("\nCPU=b\n"), std::string::npos) << settings;
  EXPECT_NE(settings.find("\nBaudB=2400\n"), std::string::npos) << settings;
}

// A settings file in the legacy code page (Shift-JIS) stays in it; a line the window does not
// own keeps its bytes. ソ and 表 end in 0x5C, the path separator's byte.
TEST(SettingsEncoding, AShiftJisSettingsFileStaysShiftJis) {
  E2eJob job;
  WindowApp app(job);
  const std::string memo = "Memo=\x83\x81\x83\x82\x95\x5C\r\n";
  const std::string path = WindowApp::AppPath("/w/");
  const std::string program = "MOT_Path=" + path + "\x83\x5C\x83\x74\x83\x67.mot\r\n";
  job.home.Write("vantrel.ini", "[Memo]\r\n" + memo + "[Path]\r\n" + program);
  auto first = app.Start();
  ASSERT_TRUE(WindowApp::WaitForMainWindow(first->pid())) << first->err();
  WindowApp::Close(*first);
  EXPECT_EQ(first->Wait(20000), 0) << first->err();
  const std::string settings = job.home.Read("vantrel.ini");
  EXPECT_NE(settings.find("[Memo]\r\n" + memo), std::string::npos) << settings;
  EXPECT_NE(settings.find("\r\n" + program), std::string::npos) << settings;
}

}  // namespace
}  // namespace vantrel::testing
