#include <gtest/gtest.h>

#include "app/tform1.h"
#include "support/fake_clock.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace vantrel::testing {
namespace {

constexpr const char* kWrongExtension = " 拡張子は \".MOT\" or \".S\" のみサポート　";

// A window started the way the program starts it: the executable in a folder of its own.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    home.Write("CTRL_MOT/A.mot", "");
    home.Write("CTRL_MOT/b.inf", "");
    home.Write("CTRL_MOT/C.MOT", "");
    home.Write("CTRL_MOT/.hidden.mot", "");
    home.Write("CTRL_MOT/Baud.ini",
               "[A.mot]\nBaudB=19200\nBaudP=115200\nBlockSize=256\nRomBaseAddr=FFFF80\n"
               "[b.inf]\nBaudB=7200\nBlockSize=512\nRomBaseAddr=200H\n"
               "[Top.mot]\nRomBaseAddr=FFF00000\n[High.mot]\nRomBaseAddr=FFFFFF80\n");
  }
  std::string exe() const { return home.PathOf("vantrel"); }
  std::unique_ptr<TForm1> Start(std::vector<std::string> args = {}) {
    auto form = std::make_unique<TForm1>(host, clock);
    form->Initialise(exe(), args);
    return form;
  }
  void Settings(const std::string& text) { home.Write("vantrel.ini", text); }

  TempFolder home;
  FakeClock clock;
  RecordingHost host;
};

TEST_F(WindowTest, WithoutSettingsTheWindowComesUpWithTheDefaults) {
  auto w = Start();
  EXPECT_EQ(w->controls.Form.caption, " Vantrel Ver.0.39b1");
  EXPECT_EQ(w->fields.ExeFolder, home.path());
  EXPECT_EQ(w->fields.SettingsPath, home.PathOf("vantrel.ini"));
  EXPECT_EQ(w->controls.ComboBoxCpuType.items,
            (std::vector<std::string>{"A.mot", "b.inf", "C.MOT"}));
  EXPECT_EQ(w->controls.ComboBoxComPort.text, "COM1");
  EXPECT_EQ(w->controls.ComboBoxBr1.text, "9600");
  EXPECT_EQ(w->controls.ComboBoxBr2.text, "38400");
  EXPECT_EQ(w->controls.ComboBoxCpuType.text, "Undefined");
  EXPECT_FALSE(w->controls.CheckBox1.checked);
  EXPECT_TRUE(w->controls.CheckBox2.checked);
  EXPECT_EQ(w->controls.Edit1.text, "");
  EXPECT_EQ(w->fields.LastFolder, home.path());
  EXPECT_EQ(w->controls.PAN_BLOCK_SIZE.caption, "BlockSize=128");
  EXPECT_EQ(w->controls.PAN_ROM_BASE.caption, "RomBase=00000000");
  EXPECT_EQ(w->controls.Form.left, 0);
  EXPECT_EQ(w->controls.Form.top, 0);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(WindowTest, LaterStartUpStepsOverrideTheSettingsFile) {
  Settings(
      Native("[CommPort]\nPortNo=COM7\nBaudB=2400\nBaudP=2400\n[Writer]\nCPU=A.mot\nVerify=1\n"
             "[Path]\nMOT_Path=/old/x.mot\nOD1_Path=/old\n"));
  auto w = Start({Native("/new/"), "app.MOT"});         // joined without a separator
  EXPECT_EQ(w->controls.ComboBoxComPort.text, "COM7");  // not in the list, shown all the same
  EXPECT_EQ(w->controls.ComboBoxBr1.text, "19200");     // Baud.ini wins
  EXPECT_EQ(w->controls.ComboBoxBr2.text, "115200");
  EXPECT_EQ(w->fields.UserProgramPath, Native("/new/app.MOT"));
  EXPECT_EQ(w->fields.LastFolder, Native("/new"));
  EXPECT_EQ(w->controls.Edit1.text, Native("/new/app.MOT"));
  EXPECT_EQ(w->fields.BlockSize, 256);
  EXPECT_EQ(w->controls.PAN_ROM_BASE.caption, "RomBase=00FFFF80");
  EXPECT_TRUE(w->controls.CheckBox1.checked);
}

TEST_F(WindowTest, StoredProgramWithAWrongExtensionIsKeptButNotShown) {
  Settings(Native("[Path]\nMOT_Path=/old/x.hex\n"));
  auto w = Start();
  EXPECT_EQ(w->fields.UserProgramPath, Native("/old/x.hex"));
  EXPECT_EQ(w->controls.Edit1.text, "");
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(WindowTest, ApplyingCpuTypes) {
  auto w = Start();
  const struct {
    const char* cpu;
    const char* baudB;
    const char* blockPanel;
    const char* romPanel;
    const char* message;
  } steps[] = {
      {"A.mot", "19200", "BlockSize=256", "RomBase=00FFFF80", nullptr},
      {"b.inf", "7200", "BlockSize=256", "RomBase=00000200", "BlockSize は 128 or 256 のみ"},
      {"Unknown.mot", "7200", "BlockSize=128", "RomBase=00000000", nullptr},
      {"Top.mot", "7200", "BlockSize=128", "RomBase=FFF00000", nullptr},
      // The image would wrap past 0xFFFFFFFF: refused, the base in force stays.
      {"High.mot", "7200", "BlockSize=128", "RomBase=FFF00000", "RomBaseAddr は FFF00000 以下のみ"},
  };
  for (const auto& s : steps) {
    host.Clear();
    w->controls.ComboBoxCpuType.text = s.cpu;
    w->ComboBoxCpuTypeChange();
    EXPECT_EQ(w->controls.ComboBoxBr1.text, s.baudB) << s.cpu;
    EXPECT_EQ(w->controls.PAN_BLOCK_SIZE.caption, s.blockPanel) << s.cpu;
    EXPECT_EQ(w->controls.PAN_ROM_BASE.caption, s.romPanel) << s.cpu;
    EXPECT_EQ(host.boxes,
              s.message ? std::vector<std::string>{s.message} : std::vector<std::string>{})
        << s.cpu;
  }
}

TEST_F(WindowTest, EmptyCpuTypeAtStartUpLeavesThePanelsBlank) {
  Settings("[Writer]\nCPU=\n");
  auto w = Start();
  EXPECT_EQ(w->controls.PAN_BLOCK_SIZE.caption, "");
  EXPECT_EQ(w->fields.BlockSize, 128);
}

TEST_F(WindowTest, UserProgramSources) {
  Settings(Native("[Path]\nMOT_Path=/w/a.mot\n"));
  auto w = Start();
  // A wrong extension from the dialog keeps the previous program.
  host.chosenFile = Native("/w/b.hex");
  w->Button5Click();
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "書き込むファイルを選択してください");
  EXPECT_EQ(host.dialogs[0].initialFolder, Native("/w"));
  EXPECT_EQ(host.boxes, std::vector<std::string>{kWrongExtension});
  EXPECT_EQ(w->fields.UserProgramPath, Native("/w/a.mot"));
  // A drop takes the first file and moves the focus first.
  host.Clear();
  w->FilesDropped({Native("/d/first.s"), Native("/d/second.mot"), Native("/d/third.mot")});
  EXPECT_EQ(w->fields.UserProgramPath, Native("/d/first.s"));
  EXPECT_EQ(host.events, std::vector<std::string>{"focus"});
  // Typed text with a wrong extension stays in the field and the path, with the message.
  w->Edit1Enter();
  EXPECT_EQ(w->controls.Edit1.text, Native("/d/first.s"));
  w->controls.Edit1.text = Native("/d/typed.txt");
  w->Edit1Exit();
  EXPECT_EQ(host.boxes, std::vector<std::string>{kWrongExtension});
  EXPECT_EQ(w->fields.UserProgramPath, Native("/d/typed.txt"));
  EXPECT_EQ(w->controls.Edit1.text, Native("/d/typed.txt"));
  EXPECT_EQ(w->fields.LastFolder, Native("/d"));
  // A cancelled dialog changes nothing.
  host.chosenFile.reset();
  w->Button5Click();
  EXPECT_EQ(w->fields.UserProgramPath, Native("/d/typed.txt"));
}

// A dropped or chosen name is cut where the original's 260-byte buffer cut it: 90 Japanese
// characters are 180 bytes there, and must not be cut as 270 bytes of UTF-8.
TEST_F(WindowTest, DroppedAndChosenNamesAreCutAsTheSystemCountsThem) {
  auto w = Start();
  std::string japanese;
  for (int i = 0; i < 90; ++i) japanese += "ソ";
  const std::string whole = Native("/" + japanese + ".mot");
  w->FilesDropped({whole});
  EXPECT_EQ(w->fields.UserProgramPath, whole);
  host.chosenFile = Native("/" + std::string(300, 'a') + ".mot");
  w->Button5Click();
  EXPECT_EQ(w->fields.UserProgramPath, whole);  // cut to 259 bytes: no extension left
}

TEST_F(WindowTest, LongPathsAreShortenedToTheFieldsWidth) {
  auto w = Start();
  // One pixel a byte: the field holds 52.
  const std::string folder = Native("/" + std::string(30, 'f') + "/" + std::string(20, 'g') + "/");
  w->SetUserProgram(folder + "app.mot", false);
  EXPECT_EQ(w->controls.Edit1.text, Native("/.../" + std::string(20, 'g') + "/app.mot"));
  w->Edit1Enter();
  EXPECT_EQ(w->controls.Edit1.text, folder + "app.mot");
}

TEST_F(WindowTest, PlaceWindow) {
  auto w = Start();
  const struct {
    std::int32_t left, top, wantLeft, wantTop;
  } cases[] = {
      {-100, 50, 0, 50},
      {1024 - 65, 768 - 65, 1024 - 65, 768 - 65},
      {1024 - 60, 10, (1024 - 379) / 2, (768 - 154) / 2},  // centred
      {10, 768 - 64, (1024 - 379) / 2, (768 - 154) / 2},
  };
  for (const auto& c : cases) {
    w->PlaceWindow(c.left, c.top);
    EXPECT_EQ(w->controls.Form.left, c.wantLeft) << c.left << "," << c.top;
    EXPECT_EQ(w->controls.Form.top, c.wantTop) << c.left << "," << c.top;
  }
}

TEST_F(WindowTest, SnapWindowToTheNearestEdges) {
  auto w = Start();
  const struct {
    std::int32_t left, top, wantLeft, wantTop;
  } cases[] = {
      {19, 300, 0, 300},
      {20, 300, 20, 300},
      {1024 - 379 - 10, 5, 1024 - 379, 0},  // the top-right corner
      {-30, 768 - 154 + 8, 0, 768 - 154},   // pulled back from beyond the edges
  };
  for (const auto& c : cases) {
    w->controls.Form.left = c.left;
    w->controls.Form.top = c.top;
    w->WindowMoveEnded();
    EXPECT_EQ(w->controls.Form.left, c.wantLeft) << c.left << "," << c.top;
    EXPECT_EQ(w->controls.Form.top, c.wantTop) << c.left << "," << c.top;
  }
  // Unchecking moves nothing; checking snaps at once.
  w->controls.Form.left = 5;
  w->SetSnapChecked(false);
  w->WindowMoveEnded();
  EXPECT_EQ(w->controls.Form.left, 5);
  w->SetSnapChecked(true);
  EXPECT_EQ(w->controls.Form.left, 0);
}

TEST_F(WindowTest, ClosingSavesTheSettingsAndEndsWithTheJobResult) {
  auto w = Start();
  w->controls.ComboBoxComPort.text = "/dev/ttyUSB3";
  w->controls.Form.left = 40;
  w->SetUserProgram(Native("/p/app.mot"), true);
  w->fields.JobResult = JobResultCode::VerifyFailed;
  try {
    w->FormClose();
    FAIL() << "the process must end";
  } catch (const RecordingHost::ExitRequested& e) {
    EXPECT_EQ(e.code, 2);
  }
  auto again = Start();
  EXPECT_EQ(again->controls.ComboBoxComPort.text, "/dev/ttyUSB3");
  EXPECT_EQ(again->controls.Form.left, 40);
  EXPECT_EQ(again->fields.UserProgramPath, Native("/p/app.mot"));
  EXPECT_EQ(again->fields.LastFolder, Native("/p"));
}

TEST_F(WindowTest, ReadOnlySettingsFileIsReportedAndTheWindowStillCloses) {
  Settings("[Writer]\nCPU=A.mot\n");
  std::filesystem::permissions(home.PathOf("vantrel.ini"), std::filesystem::perms::owner_read);
  auto w = Start();
  EXPECT_THROW(w->FormClose(), RecordingHost::ExitRequested);
  EXPECT_EQ(host.boxes, std::vector<std::string>{home.PathOf("vantrel.ini") + " に書き込めません"});
  EXPECT_EQ(host.events.front(), "beep");
  EXPECT_EQ(home.Read("vantrel.ini"), "[Writer]\nCPU=A.mot\n");
}

TEST_F(WindowTest, StartUpCommandAppliesItsJobFileThenBaudIniWins) {
  Settings("[CommPort]\nPortNo=COM2\n[Writer]\nVerify=0\n");
  home.Write("@AUTO_PGM/job.ini",
             Native("[AutoPgm]\nComPortNo=12\nBaudB=4800\nBaudP=9600\nCtrlProgam=A.mot\n"
                    "Verify=1\nUserMotPath=/w/job.mot\nAutoExit=1\nLeft=100\nTop=-1\n"));
  auto w = Start({"-", "GO", "job.ini"});
  EXPECT_EQ(w->controls.ComboBoxComPort.text, "COM12");
  EXPECT_EQ(w->controls.ComboBoxBr1.text, "19200");  // A.mot's Baud.ini section wins
  EXPECT_EQ(w->controls.ComboBoxBr2.text, "115200");
  EXPECT_EQ(w->fields.BlockSize, 256);
  EXPECT_TRUE(w->controls.CheckBox1.checked);
  EXPECT_EQ(w->fields.UserProgramPath, Native("/w/job.mot"));
  EXPECT_TRUE(w->fields.AutoExit);
  EXPECT_EQ(w->controls.Form.left, 0);  // Left without a valid Top changes nothing
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(WindowTest, AFixedProgramLocksTheChoices) {
  home.Write("@APP_MOT/b.s", "");
  home.Write("@APP_MOT/a.mot", "");
  auto w = Start({Native("/w/other.mot")});
  EXPECT_TRUE(w->fields.FixedProgram);
  EXPECT_EQ(w->fields.UserProgramPath, home.PathOf("@APP_MOT/a.mot"));
  EXPECT_EQ(w->controls.Edit1.text, "a.mot");
  EXPECT_EQ(w->fields.LastFolder, home.PathOf("@APP_MOT"));
  for (bool enabled : {w->controls.ComboBoxBr1.enabled, w->controls.ComboBoxBr2.enabled,
                       w->controls.ComboBoxCpuType.enabled, w->controls.Edit1.enabled,
                       w->controls.Button5.enabled}) {
    EXPECT_FALSE(enabled);
  }
  EXPECT_TRUE(w->controls.PanelBr1.greyed && w->controls.PanelBr2.greyed &&
              w->controls.PanelCpuType.greyed);
  EXPECT_TRUE(w->controls.ComboBoxComPort.enabled && w->controls.CheckBox1.enabled);
  // Drops and forwarded texts change nothing; a forwarded text is still greeted with a beep.
  w->FilesDropped({Native("/d/x.mot")});
  w->CommandForwarded(Native("/d/y.mot"));
  w->CommandForwarded("-GO");
  EXPECT_EQ(w->fields.UserProgramPath, home.PathOf("@APP_MOT/a.mot"));
  EXPECT_EQ(host.events, (std::vector<std::string>{"beep", "beep"}));
}

TEST_F(WindowTest, ForwardedTexts) {
  auto w = Start();
  const std::string folder = Native("/" + std::string(251, 'f') + "/");
  const struct {
    std::string text;
    std::vector<std::string> events;
    std::string program;  // what it selects
  } cases[] = {
      {folder + "ab.mot", {"beep", "focus"}, folder + "ab.mot"},     // 259 bytes
      {folder + "abc.mot", {"beep", "box:Too Long Parameter"}, ""},  // 260 bytes
      {Native("/w/x.hex"), {"beep", "focus", "beep", std::string("box:") + kWrongExtension}, ""},
      {Native(std::string("/w/nul.mot\0junk", 15)), {"beep", "focus"}, Native("/w/nul.mot")},
  };
  for (const auto& c : cases) {
    host.Clear();
    w->fields.UserProgramPath.clear();
    w->CommandForwarded(c.text);
    EXPECT_EQ(host.events, c.events) << c.text.size();
    EXPECT_EQ(w->fields.UserProgramPath, c.program) << c.text.size();
  }
}

TEST_F(WindowTest, ForwardedJobWithAutoStartStartsOrAbortsAndKeepsTheCpuType) {
  auto w = Start({"-GO"});  // a missing AutoPgm.ini changes nothing, and is no program path
  EXPECT_EQ(w->fields.UserProgramPath, "");
  w->controls.ComboBoxCpuType.text = "A.mot";
  w->ComboBoxCpuTypeChange();
  home.Write("@AUTO_PGM/AutoPgm.ini", "[AutoPgm]\nAutoStart=1\nCtrlProgam=b.inf\n");
  w->CommandForwarded("-go");
  EXPECT_EQ(w->SequenceStep(), ProgrammingSequence::Start);  // pressed: the job starts on the next tick
  EXPECT_FALSE(w->fields.AutoStart);
  EXPECT_EQ(w->controls.ComboBoxCpuType.text, "b.inf");
  EXPECT_EQ(w->fields.BlockSize, 256);  // A.mot's values stay until the user changes the type
  w->CommandForwarded("-go");
  EXPECT_EQ(w->SequenceStep(), ProgrammingSequence::End);  // a press during a job aborts it
}

}  // namespace
}  // namespace vantrel::testing
