#include <gtest/gtest.h>

#include <algorithm>

#include "app/job_harness.h"

namespace vantrel::testing {
namespace {

using Steps = std::vector<ProgrammingSequence::Step>;
using enum ProgrammingSequence::Step;

constexpr const char* kVerified = " ユーザープログラム・書き込み＆ベリファイ完了 ";
constexpr const char* kWritten = " ユーザプログラム・書き込み完了 ";

SrecWriter SmallProgram() {
  SrecWriter p;
  p.Fill(0, 600, 1).Fill(0x2000, 50, 2);
  return p;
}

struct OrderCase {
  const char* name;
  Protocol protocol;
  bool verify;
  Steps steps;
  const char* message;
};

class SequenceOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SequenceOrder, AJobRunsItsStepsInOrderAndEndsIdleWithThePortClosed) {
  const auto& c = GetParam();
  JobHarness h(c.protocol);
  h.SetProgram(SmallProgram());
  h.form.controls.CheckBox1.checked = c.verify;
  h.RunJob();
  EXPECT_EQ(h.steps, c.steps);
  EXPECT_EQ(h.form.fields.JobResult, JobResultCode::Completed);
  EXPECT_EQ(h.host.boxes, std::vector<std::string>{c.message});
  EXPECT_EQ(h.form.port().status(), PortStatus::Closed);
  EXPECT_EQ(h.form.controls.ButtonProgram.caption, "書き込み開始");
  EXPECT_EQ(h.form.controls.TrackBar1.position, 0);
  EXPECT_EQ(h.form.progress().BlocksTotal, 6u);  // blocks 0..4 and 0x2000 / 128
  EXPECT_FALSE(h.form.loadUserProgram().FileOpen());
  // The end-of-job byte: after a classic job always, after an inquiry job only once verified.
  ASSERT_FALSE(h.written.empty());
  const bool endByte = c.protocol == Protocol::Classic || c.verify;
  if (endByte) {
    EXPECT_EQ(h.written.back(), 0xFF);
  } else {
    const std::vector<std::uint8_t> endFrame = {0x50, 0xFF, 0xFF, 0xFF, 0xFF, 0xB4};
    ASSERT_GE(h.written.size(), endFrame.size());
    EXPECT_TRUE(std::equal(endFrame.begin(), endFrame.end(), h.written.end() - 6));
  }
  EXPECT_TRUE(h.model.TakeJobEnded() || !endByte);
}

INSTANTIATE_TEST_SUITE_P(
    Protocols, SequenceOrder,
    ::testing::Values(
        OrderCase{"ClassicVerify",
                  Protocol::Classic,
                  true,
                  {Start, AdjustRate, ChooseProtocol, StartTransfer, Transfer, StartLoad, Load,
                   StartWrite, Write, StartVerify, Verify, Complete, End},
                  kVerified},
        OrderCase{"ClassicWrite",
                  Protocol::Classic,
                  false,
                  {Start, AdjustRate, ChooseProtocol, StartTransfer, Transfer, StartLoad, Load,
                   StartWrite, Write, StartVerify, End},
                  kWritten},
        OrderCase{"InquiryVerify",
                  Protocol::Inquiry,
                  true,
                  {Start, AdjustRate, ChooseProtocol, StartInquiry, Inquiry, InquiryDone, StartLoad,
                   Load, StartWrite, Write, StartVerify, Verify, Complete, End},
                  kVerified},
        OrderCase{"InquiryWrite",
                  Protocol::Inquiry,
                  false,
                  {Start, AdjustRate, ChooseProtocol, StartInquiry, Inquiry, InquiryDone, StartLoad,
                   Load, StartWrite, Write, StartVerify, End},
                  kWritten}),
    [](const auto& info) { return info.param.name; });

TEST(Sequence, AnInquiryJobMovesThePortToBaudPAndConfirmsAtOnce) {
  JobHarness h(Protocol::Inquiry);
  h.SetProgram(SmallProgram());
  h.RunJob();
  ASSERT_EQ(h.form.fields.JobResult, JobResultCode::Completed) << h.host.boxes.front();
  ASSERT_EQ(h.configured.size(), 2u);
  EXPECT_EQ(h.configured[0].baud, 9600u);
  EXPECT_EQ(h.configured[1].baud, 57600u);  // BaudP of the boot definitions, not Baud.ini's
  EXPECT_EQ(h.written.at(h.configured[1].writtenBefore), 0x06);
  EXPECT_EQ(h.form.controls.ComboBoxBr2.text, "57600");
}

TEST(Sequence, TheProgressBarReachesFullInTheTickThatAnswersTheLastBlock) {
  JobHarness h(Protocol::Classic);
  h.SetProgram(SmallProgram());
  h.form.ButtonProgramClick();
  ASSERT_TRUE(h.TickUntil(Write));
  std::int32_t last = 0;
  while (h.form.SequenceStep() == ProgrammingSequence::Write) {
    const std::int32_t before = h.form.controls.TrackBar1.position;
    h.Tick();
    EXPECT_GE(h.form.controls.TrackBar1.position, before);
    last = h.form.controls.TrackBar1.position;
  }
  EXPECT_EQ(last, 1000);
  EXPECT_EQ(h.form.SequenceStep(), ProgrammingSequence::StartVerify);
}

// The job reads the controls when it needs them: what changed before that counts.
TEST(Sequence, ControlsChangedDuringAJobCountFromTheirNextRead) {
  JobHarness h(Protocol::Classic);
  h.SetProgram(SmallProgram());
  h.form.controls.ComboBoxBr2.text = "19200";
  h.form.controls.CheckBox1.checked = false;
  h.form.ButtonProgramClick();
  ASSERT_TRUE(h.TickUntil(Load));
  h.form.controls.ComboBoxBr2.text = "38400";
  h.form.controls.CheckBox1.checked = true;
  while (h.form.SequenceStep() != Idle) h.Tick();
  ASSERT_EQ(h.configured.size(), 2u);
  EXPECT_EQ(h.configured[1].baud, 38400u);
  EXPECT_EQ(h.host.boxes, std::vector<std::string>{kVerified});
}

TEST(Sequence, AnEmptyFileFieldStopsTheJobBeforeAnythingOpens) {
  JobHarness h(Protocol::Classic);
  h.form.fields.JobResult = JobResultCode::VerifyFailed;
  h.RunJob();
  EXPECT_EQ(h.steps, (Steps{Start}));
  EXPECT_EQ(h.host.events,
            (std::vector<std::string>{"beep", "box:書き込むファイルを設定して下さい"}));
  EXPECT_EQ(h.opens, 0);
  EXPECT_EQ(h.form.fields.JobResult, JobResultCode::VerifyFailed);
  h.Tick();
  EXPECT_EQ(h.form.controls.Panel5.caption, "書き込むファイルを設定して下さい");
}

TEST(Sequence, AFailedVerificationEndsWithResult2) {
  simulator::ClassicFaults faults;
  faults.flipVerifyByte = 2;
  JobHarness h(Protocol::Classic, faults);
  h.SetProgram(SmallProgram());
  h.form.controls.CheckBox1.checked = true;
  h.RunJob();
  EXPECT_EQ(h.form.fields.JobResult, JobResultCode::VerifyFailed);
  EXPECT_EQ(h.steps.end()[-2], Verify);
  EXPECT_EQ(h.host.boxes, std::vector<std::string>{"ベリファイ不一致"});
  EXPECT_EQ(h.form.progress().BlocksDone, 1u);
}

TEST(Sequence, AFailureBeforeWritingLeavesResult1) {
  simulator::ClassicFaults faults;
  faults.noEraseAnswer = true;
  JobHarness h(Protocol::Classic, faults);
  h.SetProgram(SmallProgram());
  h.RunJob();
  EXPECT_EQ(h.form.fields.JobResult, JobResultCode::NotCompleted);
  EXPECT_EQ(h.host.boxes,
            std::vector<std::string>{"　書き込み制御 MOTの転送失敗　Ans 0xaa TimeUp  "});
  EXPECT_EQ(h.steps, (Steps{Start, AdjustRate, ChooseProtocol, StartTransfer, Transfer, End}));
}

TEST(Sequence, AbortDuringTheEraseWaitClosesThePortAndSendsNothingMore) {
  JobHarness h(Protocol::Classic);
  h.SetProgram(SmallProgram());
  h.form.ButtonProgramClick();
  ASSERT_TRUE(h.TickUntil(Transfer));
  for (int i = 0; i < 200 && h.form.controls.Panel5.caption.find("消去完了待ち") != 0; ++i)
    h.Tick();
  ASSERT_EQ(h.form.controls.Panel5.caption.find("消去完了待ち"), 0u);
  const std::size_t sent = h.written.size();
  h.host.Clear();
  h.form.ButtonProgramClick();
  h.Tick();
  EXPECT_EQ(h.form.SequenceStep(), ProgrammingSequence::Idle);
  EXPECT_EQ(h.host.events, std::vector<std::string>{"beep"});
  EXPECT_EQ(h.form.port().status(), PortStatus::Closed);
  EXPECT_EQ(h.written.size(), sent);
  EXPECT_EQ(h.form.fields.JobResult, JobResultCode::NotCompleted);
}

TEST(Sequence, AbortWhileLoadingClosesTheUserProgramFile) {
  JobHarness h(Protocol::Classic);
  SrecWriter big;
  big.Fill(0, 64 * 1024, 3, 16);  // 4096 records: many ticks of 100 lines
  h.SetProgram(big);
  h.form.ButtonProgramClick();
  ASSERT_TRUE(h.TickUntil(Load));
  h.Tick();
  ASSERT_EQ(h.form.SequenceStep(), ProgrammingSequence::Load);
  ASSERT_TRUE(h.form.loadUserProgram().FileOpen());
  h.form.ButtonProgramClick();
  h.Tick();
  EXPECT_EQ(h.form.SequenceStep(), ProgrammingSequence::Idle);
  EXPECT_FALSE(h.form.loadUserProgram().FileOpen());
  EXPECT_EQ(h.form.port().status(), PortStatus::Closed);
}

TEST(Sequence, AbortDuringClassicWritingAwaitsTheAnswerAndSendsNoEndByte) {
  JobHarness h(Protocol::Classic);
  h.SetProgram(SmallProgram());
  h.form.ButtonProgramClick();
  ASSERT_TRUE(h.TickUntil(Write));
  h.form.ButtonProgramClick();  // the first block's answer is outstanding
  const std::size_t sent = h.written.size();
  h.Tick();
  EXPECT_EQ(h.form.SequenceStep(), ProgrammingSequence::Idle);
  EXPECT_EQ(h.written.size(), sent);
  EXPECT_FALSE(h.model.TakeJobEnded());
  EXPECT_TRUE(h.host.boxes.empty());
}

TEST(Sequence, AbortWithABlockAnswerThatNeverComesSleepsOnThePortUntilItsTimeOut) {
  JobHarness h(Protocol::Classic, {.silentBlock = 1});
  h.SetProgram(SmallProgram());
  h.form.ButtonProgramClick();
  ASSERT_TRUE(h.TickUntil(Write));
  h.Tick();  // the first block goes out
  ASSERT_EQ(h.form.progress().BlocksDone, 1u);
  h.form.ButtonProgramClick();
  const std::uint32_t before = h.clock.NowMs();
  h.Tick();  // the end step waits here; a spinning wait would never see the fake clock move
  EXPECT_EQ(h.form.SequenceStep(), ProgrammingSequence::Idle);
  EXPECT_GE(h.clock.NowMs() - before, 1000u);
  EXPECT_LE(h.clock.NowMs() - before, 1020u);
  EXPECT_EQ(h.host.boxes, std::vector<std::string>{"　書き込み異常　Ans=FFFFFFFFH　"});
}

TEST(Sequence, AbortDuringInquiryWritingSendsTheEndOfProgrammingFrame) {
  JobHarness h(Protocol::Inquiry);
  h.SetProgram(SmallProgram());
  h.form.ButtonProgramClick();
  ASSERT_TRUE(h.TickUntil(Write));
  h.form.ButtonProgramClick();
  h.Tick();
  EXPECT_EQ(h.form.SequenceStep(), ProgrammingSequence::Idle);
  const std::vector<std::uint8_t> endFrame = {0x50, 0xFF, 0xFF, 0xFF, 0xFF, 0xB4};
  ASSERT_GE(h.written.size(), endFrame.size());
  EXPECT_TRUE(std::equal(endFrame.begin(), endFrame.end(), h.written.end() - 6));
  EXPECT_TRUE(h.host.boxes.empty()) << h.host.boxes.front();
}

TEST(Sequence, AutoExitEndsTheProcessWithTheResultAndNoCompletionBox) {
  JobHarness h(Protocol::Classic);
  h.SetProgram(SmallProgram());
  h.form.fields.AutoExit = true;
  int code = -1;
  try {
    h.RunJob();
  } catch (const RecordingHost::ExitRequested& exit) {
    code = exit.code;
  }
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(h.host.boxes.empty());
  EXPECT_EQ(h.host.events, std::vector<std::string>{"beep"});
}

struct ControlFileCase {
  const char* name;
  const char* cpuType;
  const char* contents;  // nullptr: no such file
  const char* message;
};

class ControlFileFailure : public ::testing::TestWithParam<ControlFileCase> {};

TEST_P(ControlFileFailure, EndsTheJobCleanlyWithTheLoadMessage) {
  const auto& c = GetParam();
  JobHarness h(Protocol::Classic);
  h.SetProgram(SmallProgram());
  if (c.contents) h.home.Write(std::string("CTRL_MOT/") + c.cpuType, c.contents);
  h.form.controls.ComboBoxCpuType.text = c.cpuType;
  h.RunJob();
  EXPECT_EQ(h.steps, (Steps{Start, End}));
  EXPECT_EQ(h.host.boxes, std::vector<std::string>{c.message});
  EXPECT_EQ(h.form.fields.JobResult, JobResultCode::NotCompleted);
  EXPECT_EQ(h.opens, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ControlFileFailure,
    ::testing::Values(
        ControlFileCase{"Missing", "NONE.mot", nullptr, "書き込み制御ファイルがオープンできません"},
        ControlFileCase{"IncompleteBootDefinition", "BAD.INF", "[BootDef]\nDeviceName=X\n",
                        "書き込み制御プログラム異常 inf_error"},
        ControlFileCase{"BrokenRecord", "BAD.mot", "S113zz00\n", "書き込み制御プログラム異常 04"}),
    [](const auto& info) { return info.param.name; });

// A host whose message box lets the timer run, as a modal box's message loop does.
class ReentrantHost final : public WindowHost {
 public:
  void Beep() override {}
  void ShowMessageBox(std::string_view) override {
    ++boxes;
    if (form) {
      const std::int32_t step = form->SequenceStep();
      form->Timer2Timer();
      form->Timer2Timer();
      stepUnchanged = stepUnchanged && form->SequenceStep() == step;
    }
  }
  bool ShiftHeld() override { return false; }
  [[noreturn]] void ExitProcess(int) override { throw 0; }
  TForm1* form = nullptr;
  int boxes = 0;
  bool stepUnchanged = true;
};

TEST(Sequence, TicksDuringAMessageBoxDoNotReenterTheSequence) {
  FakeClock clock;
  ReentrantHost host;
  TForm1 form(host, clock);
  host.form = &form;
  form.ButtonProgramClick();
  form.Timer2Timer();  // empty file field: the box opens inside the tick
  EXPECT_EQ(host.boxes, 1);
  EXPECT_TRUE(host.stepUnchanged);
  EXPECT_EQ(form.SequenceStep(), ProgrammingSequence::Idle);
}

// The guard must be down again whichever way a tick left: after a box it opened, or through the
// host's process exit (this test host throws where a real one would end the process).
struct TickExitCase {
  const char* name;
  const char* cpuType;  // with a file chosen; empty: no file, so the first tick opens a box
  bool autoExit;
};

class TickGuardRelease : public ::testing::TestWithParam<TickExitCase> {};

TEST_P(TickGuardRelease, TheTickAfterRunsTheSequenceAgain) {
  const auto& c = GetParam();
  FakeClock clock;
  ReentrantHost host;
  TForm1 form(host, clock);
  host.form = &form;
  TempFolder home;
  form.fields.ExeFolder = home.path();
  form.fields.AutoExit = c.autoExit;
  if (*c.cpuType != '\0') {
    form.controls.Edit1.text = home.Write("p.mot", SmallProgram().Text());
    form.controls.ComboBoxCpuType.text = c.cpuType;
  }
  bool exited = false;
  form.ButtonProgramClick();
  for (int i = 0; i < 3 && !exited && form.SequenceStep() != ProgrammingSequence::Idle; ++i) {
    try {
      form.Timer2Timer();
    } catch (int) {
      exited = true;
    }
  }
  EXPECT_EQ(exited, c.autoExit);
  ASSERT_EQ(form.SequenceStep(), ProgrammingSequence::Idle);
  const int boxes = host.boxes;
  form.ButtonProgramClick();
  try {
    form.Timer2Timer();
  } catch (int) {
  }
  EXPECT_EQ(host.boxes, boxes + 1) << "the next tick did not run";
}

INSTANTIATE_TEST_SUITE_P(Paths, TickGuardRelease,
                         ::testing::Values(TickExitCase{"BoxOpenedMidTick", "", false},
                                           TickExitCase{"ProcessExitAtTheEndStep", "NONE.mot",
                                                        true}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vantrel::testing
