#include <gtest/gtest.h>

#include "app/job_harness.h"
#include "job/tick_driver.h"

#include <map>

namespace vantrel::testing {
namespace {

SrecWriter Program() {
  SrecWriter p;
  p.Fill(0, 1500, 21).Fill(0x3000, 200, 22);
  return p;
}

// Presses the Program button and lets the driver run the job to its end.
void RunWithDriver(JobHarness& h, TickDriver& driver) {
  h.form.ButtonProgramClick();
  while (h.form.SequenceStep() != ProgrammingSequence::Idle && driver.ticks() < 200000)
    driver.Wait(driver.Run());
}

struct SameBytesCase {
  const char* name;
  Protocol protocol;
  bool verify;
  simulator::ClassicFaults classic;
  simulator::InquiryFaults inquiry;
};

class SameBytesOnTheLine : public ::testing::TestWithParam<SameBytesCase> {};

TEST_P(SameBytesOnTheLine, FastModeAndTheDriversCadenceMatchTheTenMillisecondTimer) {
  const auto& c = GetParam();
  const LineOptions paced{.pacing = true};
  JobHarness timer(c.protocol, c.classic, c.inquiry, paced);
  timer.SetProgram(Program());
  timer.form.controls.CheckBox1.checked = c.verify;
  timer.RunJob();
  ASSERT_EQ(timer.form.SequenceStep(), ProgrammingSequence::Idle);

  for (const TickMode mode : {TickMode::Cadence, TickMode::Fast}) {
    SCOPED_TRACE(mode == TickMode::Fast ? "fast" : "cadence");
    JobHarness h(c.protocol, c.classic, c.inquiry, paced);
    h.SetProgram(Program());
    h.form.controls.CheckBox1.checked = c.verify;
    TickDriver driver(h.form.job(), h.clock, mode);
    RunWithDriver(h, driver);
    ASSERT_EQ(h.form.SequenceStep(), ProgrammingSequence::Idle);
    EXPECT_EQ(h.written, timer.written);
    EXPECT_EQ(h.line.received, timer.line.received);
    EXPECT_EQ(h.host.events, timer.host.events);
    EXPECT_EQ(h.form.fields.JobResult, timer.form.fields.JobResult);
    if (mode == TickMode::Fast) {
      // Not a speed claim (the benchmarks make those): the fast driver must not idle on the tick.
      EXPECT_LT((h.clock.NowMs() - 5000) * 10, (timer.clock.NowMs() - 5000) * 9);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, SameBytesOnTheLine,
    ::testing::Values(
        SameBytesCase{"ClassicVerified", Protocol::Classic, true, {}, {}},
        SameBytesCase{"ClassicWritten", Protocol::Classic, false, {}, {}},
        SameBytesCase{"InquiryVerified", Protocol::Inquiry, true, {}, {}},
        SameBytesCase{"InquiryWritten", Protocol::Inquiry, false, {}, {}},
        SameBytesCase{"ClassicVerifyMismatch", Protocol::Classic, true, {.flipVerifyByte = 5}, {}},
        SameBytesCase{"InquiryBlockRefused", Protocol::Inquiry, true, {}, {.nakBlock = 3}}),
    [](const auto& info) { return info.param.name; });

// The zero bytes of the adjustment, with the time each went out.
std::vector<std::uint32_t> ZeroTimes(const JobHarness& h) {
  std::vector<std::uint32_t> times;
  for (std::size_t i = 0; i < h.written.size() && h.written[i] == 0x00; ++i) {
    times.push_back(h.line.sentAtMs[i]);
  }
  return times;
}

TEST(FastMode, TheBitRateAdjustmentSendsOneZeroPerTimerPeriod) {
  for (const bool answered : {true, false}) {
    SCOPED_TRACE(answered ? "target answers" : "target silent");
    JobHarness timer(Protocol::Classic, {}, {}, {.noSync = !answered});
    timer.SetProgram(Program());
    timer.RunJob();
    JobHarness h(Protocol::Classic, {}, {}, {.noSync = !answered});
    h.SetProgram(Program());
    TickDriver driver(h.form.job(), h.clock, TickMode::Fast);
    RunWithDriver(h, driver);

    const auto zeros = ZeroTimes(h);
    ASSERT_GE(zeros.size(), 3u);
    EXPECT_EQ(zeros.size(), ZeroTimes(timer).size());
    for (std::size_t i = 1; i < zeros.size(); ++i) EXPECT_EQ(zeros[i] - zeros[i - 1], 10u) << i;
  }
}

TEST(FastMode, TheInquirySwitchesToTheNewRateATimerPeriodAfterTheAcknowledgement) {
  JobHarness h(Protocol::Inquiry, {}, {}, {.pacing = true});
  h.SetProgram(Program());
  TickDriver driver(h.form.job(), h.clock, TickMode::Fast);
  RunWithDriver(h, driver);
  ASSERT_EQ(h.configured.size(), 2u);
  const auto& atNewRate = h.configured[1];
  ASSERT_GT(atNewRate.receivedBefore, 0u);
  const std::uint32_t ackArrived = h.line.receivedAtMs.at(atNewRate.receivedBefore - 1);
  const std::uint32_t confirmed = h.line.sentAtMs.at(atNewRate.writtenBefore);
  EXPECT_EQ(h.written[atNewRate.writtenBefore], 0x06);
  EXPECT_GE(confirmed - ackArrived, 10u);
  EXPECT_EQ(h.form.fields.JobResult, JobResultCode::Completed);
}

TEST(FastMode, ASilentTargetIsAwaitedOnThePortNotPolledEveryPeriod) {
  // The erase never ends: 30 s of waiting until the transfer's time-out.
  JobHarness h(Protocol::Classic, {.noEraseAnswer = true});
  h.SetProgram(Program());
  TickDriver driver(h.form.job(), h.clock, TickMode::Fast);
  RunWithDriver(h, driver);
  EXPECT_EQ(h.host.boxes,
            std::vector<std::string>{"　書き込み制御 MOTの転送失敗　Ans 0xaa TimeUp  "});
  EXPECT_GE(h.clock.NowMs() - 5000, 30000u);
  // The timer would have ticked 3000 times; waking every 100 ms at the most is enough.
  EXPECT_LT(driver.ticks(), 400u);
}

// A block read back is slept through until it can have crossed the line; the write's one
// answer byte is awaited on the port, to be read the moment it comes.
TEST(FastMode, AReadBackWakesOncePerBlockAndALoneAnswerByteAtOnce) {
  for (const Protocol protocol : {Protocol::Classic, Protocol::Inquiry}) {
    SCOPED_TRACE(protocol == Protocol::Classic ? "classic" : "inquiry");
    JobHarness h(protocol, {}, {}, {.pacing = true});
    h.SetProgram(Program());
    h.form.controls.CheckBox1.checked = true;
    TickDriver driver(h.form.job(), h.clock, TickMode::Fast);
    h.form.ButtonProgramClick();
    std::map<ProgrammingSequence::Step, int> sleeps, portWaits;
    while (h.form.SequenceStep() != ProgrammingSequence::Idle && driver.ticks() < 200000) {
      const TickPlan plan = driver.Run();
      if (plan.delayMs > 0) ++(plan.wakeOnInput ? portWaits : sleeps)[h.form.SequenceStep()];
      driver.Wait(plan);
    }
    ASSERT_EQ(h.form.fields.JobResult, JobResultCode::Completed);
    const int blocks = static_cast<int>(h.form.job().progress().BlocksTotal);
    ASSERT_GT(blocks, 10);
    EXPECT_EQ(sleeps[ProgrammingSequence::Write], 0);
    EXPECT_GE(portWaits[ProgrammingSequence::Write], blocks);
    EXPECT_GE(sleeps[ProgrammingSequence::Verify], blocks);
    EXPECT_LE(sleeps[ProgrammingSequence::Verify] + portWaits[ProgrammingSequence::Verify],
              3 * blocks);
  }
}

// A block's read-back that stops half-way: the driver sleeps through no more than the bytes that
// could follow the command (and a UART's four characters of quiet), not every byte still missing,
// before it looks again; to the microsecond, where a millisecond would be 38 % more.
TEST(FastMode, AReadBackThatPausesHalfWayIsNotSleptThroughByTheBytesMissing) {
  std::size_t verifyAt = 0;
  for (const bool stall : {false, true}) {
    const auto at = static_cast<std::uint32_t>(verifyAt) + 60;
    JobHarness h(Protocol::Classic, {}, {},
                 {.pacing = true, .faults = {.stallByte = stall ? at : 0, .stallMs = 40}});
    h.SetProgram(Program());
    h.form.controls.CheckBox1.checked = true;
    TickDriver driver(h.form.job(), h.clock, TickMode::Fast);
    h.form.ButtonProgramClick();
    std::vector<std::uint32_t> sleepsUs;
    while (h.form.SequenceStep() != ProgrammingSequence::Idle && driver.ticks() < 200000) {
      const TickPlan plan = driver.Run();
      const bool verifying = h.form.SequenceStep() == ProgrammingSequence::Verify;
      if (verifying && verifyAt == 0) verifyAt = h.line.received.size();
      if (verifying && !plan.wakeOnInput && plan.delayMs > 0) sleepsUs.push_back(plan.sleepUs);
      driver.Wait(plan);
    }
    ASSERT_EQ(h.form.fields.JobResult, JobResultCode::Completed);
    if (!stall) continue;
    ASSERT_GE(sleepsUs.size(), 2u);
    const std::uint32_t charUs = h.form.job().port().CharTime();
    EXPECT_GT(sleepsUs[0], 100 * charUs);
    EXPECT_EQ(sleepsUs[1], (4 + 4) * charUs);
  }
}

// Idle, the window changes only through its own events, and the front runs the driver after
// each: it need not wake every period (nor, in the original's cadence, may it skip one).
TEST(FastMode, AnIdleWindowWaitsForItsNextEvent) {
  FakeClock clock;
  RecordingHost host;
  TForm1 form(host, clock);
  TickDriver fast(form.job(), clock, TickMode::Fast);
  TickDriver cadence(form.job(), clock, TickMode::Cadence);
  EXPECT_GE(fast.Run().delayMs, 1000u);
  EXPECT_EQ(fast.ticks(), 1u);
  EXPECT_EQ(cadence.Run().delayMs, kTimerPeriodMs);
}

struct CadenceCase {
  std::uint32_t advanceMs;  // the clock moves this much before the call
  bool ticks;
  std::uint32_t delayMs;  // what the call asks for
};

TEST(CadenceMode, TicksOncePerPeriodAndALateTickMovesTheRestBack) {
  FakeClock clock(1000);
  RecordingHost host;
  TForm1 form(host, clock);
  TickDriver driver(form.job(), clock, TickMode::Cadence);
  const CadenceCase calls[] = {{0, true, 10},  {4, false, 6},  {6, true, 10},
                               {9, false, 1},  {1, true, 10},  {37, true, 10},
                               {0, false, 10}, {10, true, 10}, {12, true, 8}};
  std::uint64_t ticks = 0;
  for (const auto& c : calls) {
    clock.Advance(c.advanceMs);
    const TickPlan plan = driver.Run();
    ticks += c.ticks;
    EXPECT_EQ(driver.ticks(), ticks) << "after +" << c.advanceMs;
    EXPECT_EQ(plan.delayMs, c.delayMs) << "after +" << c.advanceMs;
    EXPECT_FALSE(plan.wakeOnInput);
  }
}

// A message box that runs the event loop, and with it the driver, while it is open.
class LoopingHost final : public WindowHost {
 public:
  void Beep() override {}
  void ShowMessageBox(std::string_view) override {
    if (driver) nested = driver->Run();
  }
  bool ShiftHeld() override { return false; }
  [[noreturn]] void ExitProcess(int) override { throw 0; }
  TickDriver* driver = nullptr;
  std::optional<TickPlan> nested;
};

TEST(FastMode, TheDriverCalledFromAMessageBoxRunsNoTick) {
  FakeClock clock;
  LoopingHost host;
  TForm1 form(host, clock);
  TickDriver driver(form.job(), clock, TickMode::Fast);
  host.driver = &driver;
  form.ButtonProgramClick();  // no file chosen: the box opens inside the first tick
  driver.Run();
  ASSERT_TRUE(host.nested.has_value());
  EXPECT_EQ(driver.ticks(), 1u);
  EXPECT_EQ(host.nested->delayMs, kTimerPeriodMs);
  EXPECT_EQ(form.SequenceStep(), ProgrammingSequence::Idle);
}

}  // namespace
}  // namespace vantrel::testing
