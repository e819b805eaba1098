#include <gtest/gtest.h>

#include <stdexcept>

#include "app/active_control.h"
#include "app/control_push.h"
#include "app/dialog_filter.h"
#include "app/second_start.h"
#include "app/tform1.h"
#include "app/unexpected_exception.h"
#include "app/window_frame.h"
#include "support/fake_clock.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace vantrel::testing {
namespace {

class WindowBehaviour : public ::testing::Test {
 protected:
  WindowBehaviour() { form.Initialise(home.PathOf("vantrel"), {Native("/old/a.mot")}); }

  TempFolder home;
  FakeClock clock;
  RecordingHost host;
  TForm1 form{host, clock};
};

// Only a move of the focus between the window's own controls enters or leaves Edit1: what was
// typed survives the window losing the focus and getting it back.
TEST_F(WindowBehaviour, Edit1IsLeftOnlyForAnotherControl) {
  ActiveControl active(form);
  active.FocusedOn(ControlId::Edit1);
  form.controls.Edit1.text = Native("/new/b.mot");  // typed
  active.FocusedOn(ControlId::Edit1);               // the window is active again
  EXPECT_EQ(form.controls.Edit1.text, Native("/new/b.mot"));
  EXPECT_EQ(form.fields.UserProgramPath, Native("/old/a.mot"));
  active.FocusedOn(ControlId::ButtonProgram);
  EXPECT_EQ(form.fields.UserProgramPath, Native("/new/b.mot"));
  active.FocusedOn(ControlId::Edit1);
  EXPECT_EQ(form.controls.Edit1.text, Native("/new/b.mot"));  // the whole path to edit
}

TEST_F(WindowBehaviour, OnlyWhatChangedSinceTheLastPushIsPushed) {
  ControlPush push;
  const auto first = push.Changes(form.controls);
  ASSERT_EQ(first.size(), static_cast<std::size_t>(kControlCount));
  EXPECT_TRUE(first[static_cast<int>(ControlId::ComboBoxBr2)].items);
  EXPECT_FALSE(first[static_cast<int>(ControlId::Panel5)].items);
  EXPECT_TRUE(push.Changes(form.controls).empty());

  form.controls.Panel5.caption = "x";
  form.controls.CheckBox1.checked = true;
  const auto next = push.Changes(form.controls);
  ASSERT_EQ(next.size(), 2u);
  EXPECT_TRUE(next[0].checked && !next[0].text && !next[0].enabled);
  EXPECT_TRUE(next[1].text && !next[1].greyed);
  form.controls.Edit1.text = "typed";
  push.Shown(form.controls, ControlId::Edit1);
  EXPECT_TRUE(push.Changes(form.controls).empty());
}

TEST_F(WindowBehaviour, TheProgramsOwnMovesAreNotTheUsers) {
  WindowFrame frame(form.controls.Form);
  form.controls.Form.left = 40;
  ASSERT_EQ(frame.OwnMove(), (ScreenPoint{40, 0}));
  EXPECT_FALSE(frame.Moved({41, 20}));  // the platform's frame around it
  EXPECT_EQ(form.controls.Form.left, 40);
  EXPECT_EQ(frame.OwnMove(), std::nullopt);
  EXPECT_TRUE(frame.Moved({300, 200}));
  EXPECT_EQ(form.controls.Form.left, 300);
  EXPECT_EQ(frame.OwnMove(), std::nullopt);
}

TEST(SecondStart, TellsOrHandsOverAndSaysWhetherTheFirstCopyTookIt) {
  const struct {
    const char* commandText;
    bool taken;
    int exitCode;
    std::vector<std::string> events;
  } cases[] = {
      {"", true, 0, {"beep", "box:\u3000VTL は２重起動禁止です！\u3000"}},
      {"a.mot", true, 0, {}},
      {"a.mot", false, 1, {}},
  };
  for (const auto& c : cases) {
    RecordingHost host;
    std::string handed;
    const auto handOver = [&](std::string_view text) {
      handed = text;
      return c.taken;
    };
    EXPECT_EQ(SecondStart(host, c.commandText, handOver), c.exitCode);
    EXPECT_EQ(host.events, c.events);
    EXPECT_EQ(handed, c.commandText);
  }
}

TEST(UnexpectedException, ShowsItsTextAndEndsWithExitCodeOne) {
  RecordingHost host;
  int code = -1;
  try {
    try {
      throw std::runtime_error("broken");
    } catch (...) {
      EndOnUnexpectedException(host);
    }
  } catch (const RecordingHost::ExitRequested& exit) {
    code = exit.code;
  }
  EXPECT_EQ(code, 1);
  EXPECT_EQ(host.events, std::vector<std::string>{"box:broken"});
}

TEST(DialogFilter, EntriesWithTheirPatterns) {
  const auto entries = ParseDialogFilter("Object Files (*.MOT, *.S)|*.mot; *.s|All Files|*.*");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].description, "Object Files (*.MOT, *.S)");
  EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.mot", "*.s"}));
  EXPECT_EQ(entries[1].patterns, std::vector<std::string>{"*.*"});
}

}  // namespace
}  // namespace vantrel::testing
