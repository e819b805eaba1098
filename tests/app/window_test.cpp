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
               "[b.inf]\nBaudB=7200\nBlockSize=512\nRomBaseAddr=200H\n");
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
      "[CommPort]\nPortNo=COM7\nBaudB=2400\nBaudP=2400\n[Writer]\nCPU=A.mot\nVerify=1\n"
      "[Path]\nMOT_Path=/old/x.mot\nOD1_Path=/old\n");
  auto w = Start({"/new/", "app.MOT"});                 // joined without a separator
  EXPECT_EQ(w->controls.ComboBoxComPort.text, "COM7");  // not in the list, shown all the same
  EXPECT_EQ(w->controls.ComboBoxBr1.text, "19200");     // Baud.ini wins
  EXPECT_EQ(w->controls.ComboBoxBr2.text, "115200");
  EXPECT_EQ(w->fields.UserProgramPath, "/new/app.MOT");
  EXPECT_EQ(w->fields.LastFolder, "/new");
  EXPECT_EQ(w->controls.Edit1.text, "/new/app.MOT");
  EXPECT_EQ(w->fields.BlockSize, 256);
  EXPECT_EQ(w->controls.PAN_ROM_BASE.caption, "RomBase=00FFFF80");
  EXPECT_TRUE(w->controls.CheckBox1.checked);
}

TEST_F(WindowTest, StoredProgramWithAWrongExtensionIsKeptButNotShown) {
  Settings("[Path]\nMOT_Path=/old/x.hex\n");
  auto w = Start();
  EXPECT_EQ(w->fields.UserProgramPath, "/old/x.hex");
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
    bool message;
  } steps[] = {
      {"A.mot", "19200", "BlockSize=256", "RomBase=00FFFF80", false},
      {"b.inf", "7200", "BlockSize=256", "RomBase=00000200", true},  // 512 refused, base taken
      {"Unknown.mot", "7200", "BlockSize=128", "RomBase=00000000", false},
  };
  for (const auto& s : steps) {
    host.Clear();
    w->controls.ComboBoxCpuType.text = s.cpu;
    w->ComboBoxCpuTypeChange();
    EXPECT_EQ(w->controls.ComboBoxBr1.text, s.baudB) << s.cpu;
    EXPECT_EQ(w->controls.PAN_BLOCK_SIZE.caption, s.blockPanel) << s.cpu;
    EXPECT_EQ(w->controls.PAN_ROM_BASE.caption, s.romPanel) << s.cpu;
    EXPECT_EQ(host.boxes, s.message ? std::vector<std::string>{"BlockSize は 128 or 256 のみ"}
                                    : std::vector<std::string>{})
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
  Settings("[Path]\nMOT_Path=/w/a.mot\n");
  auto w = Start();
  // A wrong extension from the dialog keeps the previous program.
  host.chosenFile = "/w/b.hex";
  w->Button5Click();
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "書き込むファイルを選択してください");
  EXPECT_EQ(host.dialogs[0].initialFolder, "/w");
  EXPECT_EQ(host.boxes, std::vector<std::string>{kWrongExtension});
  EXPECT_EQ(w->fields.UserProgramPath, "/w/a.mot");
  // A drop takes the first file and moves the focus first.
  host.Clear();
  w->FilesDropped({"/d/first.s", "/d/second.mot", "/d/third.mot"});
  EXPECT_EQ(w->fields.UserProgramPath, "/d/first.s");
  EXPECT_EQ(host.events, std::vector<std::string>{"focus"});
  // Typed text with a wrong extension stays in the field and the path, with the message.
  w->Edit1Enter();
  EXPECT_EQ(w->controls.Edit1.text, "/d/first.s");
  w->controls.Edit1.text = "/d/typed.txt";
  w->Edit1Exit();
  EXPECT_EQ(host.boxes, std::vector<std::string>{kWrongExtension});
  EXPECT_EQ(w->fields.UserProgramPath, "/d/typed.txt");
  EXPECT_EQ(w->controls.Edit1.text, "/d/typed.txt");
  EXPECT_EQ(w->fields.LastFolder, "/d");
  // A cancelled dialog changes nothing.
  host.chosenFile.reset();
  w->Button5Click();
  EXPECT_EQ(w->fields.UserProgramPath, "/d/typed.txt");
}

TEST_F(WindowTest, LongPathsAreShortenedToTheFieldsWidth) {
  auto w = Start();
  // One pixel a byte: the field holds 52.
  const std::string folder = "/" + std::string(30, 'f') + "/" + std::string(20, 'g') + "/";
  w->SetUserProgram(folder + "app.mot", false);
  EXPECT_EQ(w->controls.Edit1.text, "/.../" + std::string(20, 'g') + "/app.mot");
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
  w->SetUserProgram("/p/app.mot", true);
  w->fields.JobResult = 2;
  try {
    w->FormClose();
    FAIL() << "the process must end";
  } catch (const RecordingHost::ExitRequested& e) {
    EXPECT_EQ(e.code, 2);
  }
  auto again = Start();
  EXPECT_EQ(again->controls.ComboBoxComPort.text, "/dev/ttyUSB3");
  EXPECT_EQ(again->controls.Form.left, 40);
  EXPECT_EQ(again->fields.UserProgramPath, "/p/app.mot");
  EXPECT_EQ(again->fields.LastFolder, "/p");
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

}  // namespace
}  // namespace vantrel::testing
