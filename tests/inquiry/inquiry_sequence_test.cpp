#include "inquiry/inquiry_sequence.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/step.h"
#include "fake_boot_loader.h"
#include "good_definition.h"
#include "inquiry/inquiry_messages.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Step = InquirySequence::Step;
using testing::AddDevice;
using testing::AddU32;
using testing::FakeBootLoader;
using testing::Frame;
using testing::GoodDefinition;

class InquirySequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fx.controls.ComboBoxBr2.text = "9600";
    loader.Attach(fx.line);
  }

  // Runs from PhaseStart until the sequence ends; the number of continuing calls it took.
  int RunToEnd(StepResult& result, int limit = 5000) {
    seq.Run(PhaseStart);
    for (int call = 1; call <= limit; ++call) {
      result = fx.Tick(seq);
      if (result != StepBusy) return call;
    }
    return -1;
  }
  // Runs from PhaseStart until the given step is next.
  void RunUntil(Step step) {
    seq.Run(PhaseStart);
    for (int call = 0; call < 5000 && seq.subState() != step; ++call) {
      ASSERT_EQ(fx.Tick(seq), StepBusy);
    }
    ASSERT_EQ(seq.subState(), step);
  }

  testing::StepFixture fx;
  FakeBootLoader loader;
  BootDefinition def = GoodDefinition();
  CpuInformation info;
  ResponseBuffer buffer{};
  InquirySequence seq{fx.ctx, def, info, buffer};
};

TEST_F(InquirySequenceTest, SelectsAndSwitchesAndKeepsWhatTheTargetReported) {
  StepResult result{};
  RunToEnd(result);
  ASSERT_EQ(result, StepDone);
  EXPECT_TRUE(fx.host.events.empty());
  EXPECT_EQ(loader.CommandBytes(), (Bytes{0x20, 0x10, 0x21, 0x11, 0x22, 0x23, 0x24, 0x25, 0x26,
                                          0x27, 0x3F, 0x06, 0x40, 0x43}));
  EXPECT_EQ(*loader.Find(0x11), (Bytes{0x11, 0x01, 0x01, 0xED}));
  EXPECT_EQ(*loader.Find(0x3F),
            (Bytes{0x3F, 0x07, 0x01, 0x80, 0x07, 0xD0, 0x02, 0x04, 0x02, 0x5A}));
  EXPECT_EQ(fx.controls.ComboBoxBr2.text, "38400");
  EXPECT_EQ(fx.port.status(), PortStatus::Open);
  EXPECT_EQ(fx.line.settings.baudRate, 38400u);
  EXPECT_EQ(fx.controls.Panel5.caption, " マット選択中");

  EXPECT_EQ(info.DeviceNo, 2);
  EXPECT_STREQ(info.DeviceName[1].data(), "X2");
  EXPECT_STREQ(info.DeviceCode[1].data(), "B002");
  EXPECT_EQ(info.ClockModeNo, 2);
  EXPECT_EQ(info.MultipleTypeNo, 2);
  EXPECT_EQ(info.MultipleRatioNo[0], 2);
  EXPECT_EQ(info.Ratio[0][1], 8);
  EXPECT_EQ(info.Ratio[1][0], 0xFE);
  EXPECT_EQ(info.FreqNo, 1);
  EXPECT_EQ(info.Fmin[0], 1000);
  EXPECT_EQ(info.Fmax[0], 20000);
  EXPECT_EQ(info.UserBootMatAreaNo, 1);
  EXPECT_EQ(info.UserBootMat[0].End, 0x1FFFu);
  EXPECT_EQ(info.UserMatAreaNo, 1);
  EXPECT_EQ(info.UserMat[0].End, 0x1FFFFu);
  EXPECT_EQ(info.EraseBlockNo, 2);
  EXPECT_EQ(info.EraseBlock[1].Top, 0x1000u);
  EXPECT_EQ(info.WriteBlockSize, 128);
  // Done stays done.
  EXPECT_EQ(fx.Tick(seq), StepDone);
}

TEST_F(InquirySequenceTest, ConfirmationGoesOutAtTheNewRateInTheSameCall) {
  RunUntil(Step::SwitchBitRate);
  const auto opensBefore = fx.line.opens;
  fx.line.written.clear();
  fx.Tick(seq);
  EXPECT_EQ(fx.line.opens, opensBefore + 1);
  EXPECT_EQ(fx.line.settings.baudRate, 38400u);
  EXPECT_EQ(fx.controls.ComboBoxBr2.text, "38400");
  EXPECT_EQ(fx.line.written, (Bytes{0x06}));
  EXPECT_EQ(seq.subState(), Step::WaitConfirmationAck);
}

TEST_F(InquirySequenceTest, DeviceIsMatchedByExactProductName) {
  const std::pair<const char*, Bytes> cases[] = {
      {"X1", {0x10, 0x04, 'A', '0', '0', '1', 0x1A}},
      {"X2", {0x10, 0x04, 'B', '0', '0', '2', 0x18}},
  };
  for (const auto& [name, frame] : cases) {
    FakeBootLoader fresh;
    fresh.Attach(fx.line);
    def.DeviceName = name;
    StepResult result{};
    RunToEnd(result);
    EXPECT_EQ(result, StepDone) << name;
    ASSERT_NE(fresh.Find(0x10), nullptr);
    EXPECT_EQ(*fresh.Find(0x10), frame) << name;
  }
}

TEST_F(InquirySequenceTest, ShortDeviceCodeIsPaddedWithZeros) {
  std::vector<std::uint8_t> devices{1};
  devices.insert(devices.end(), {6, 'C', '7', 0, 0, 'X', '2'});
  loader.replies[0x20] = Frame(0x30, devices);
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(*loader.Find(0x10), (Bytes{0x10, 0x04, 'C', '7', 0, 0, 0x72}));
}

TEST_F(InquirySequenceTest, MessageSetDirectlyShowsOneCallLaterAndCommFailureTwoCallsLater) {
  def.DeviceName = "x2";
  RunUntil(Step::SelectDevice);
  EXPECT_EQ(fx.Tick(seq), StepBusy);
  EXPECT_EQ(seq.subState(), Step::ShowFailure);
  EXPECT_TRUE(fx.host.events.empty());
  EXPECT_EQ(fx.Tick(seq), StepFailed);
  EXPECT_EQ(fx.host.events, (std::vector<std::string>{"beep", "box: DeviceName が一致しません "}));

  fx.host.Clear();
  def.DeviceName = "X2";
  loader.replies[0x10] = {0x15};
  RunUntil(Step::WaitDeviceAck);
  EXPECT_EQ(fx.Tick(seq), StepBusy);
  EXPECT_EQ(seq.subState(), Step::CommunicationFailed);
  EXPECT_EQ(fx.Tick(seq), StepBusy);
  EXPECT_TRUE(fx.host.events.empty());
  EXPECT_EQ(fx.Tick(seq), StepFailed);
  EXPECT_EQ(fx.host.events,
            (std::vector<std::string>{"beep", "box: ＣＰＵとの通信が失敗しました "}));
}

struct FailureCase {
  const char* name;
  std::function<void(FakeBootLoader&, BootDefinition&)> setup;
  const char* message;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.name;
}

class InquiryFailureTest : public InquirySequenceTest,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(InquiryFailureTest, EndsWithItsMessage) {
  GetParam().setup(loader, def);
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepFailed);
  EXPECT_EQ(seq.failureMessage(), GetParam().message);
  const std::string box = std::string("box:") + GetParam().message;
  if (std::string(GetParam().message) == kInquiryErrorResponse) {
    EXPECT_EQ(fx.host.events, (std::vector<std::string>{box, "beep", box}));
  } else {
    EXPECT_EQ(fx.host.events, (std::vector<std::string>{"beep", box}));
  }
}

void Silent(FakeBootLoader& l, std::uint8_t command) {
  l.replies.erase(command);
}

const char* const kComm = kInquiryCommFailed;
const char* const kNewBaud = kInquiryNewBaudFailed;

INSTANTIATE_TEST_SUITE_P(
    Table, InquiryFailureTest,
    ::testing::Values(
        FailureCase{"DevicesUnanswered", [](auto& l, auto&) { Silent(l, 0x20); }, kComm},
        FailureCase{"DeviceAnswerWrongCode",
                    [](auto& l, auto&) { l.replies[0x20][0] = 0x31, l.replies[0x20].back()--; },
                    kComm},
        FailureCase{"DeviceAnswerBadChecksum", [](auto& l, auto&) { l.replies[0x20].back()++; },
                    kComm},
        FailureCase{"DeviceAnswerBelowSeven",
                    [](auto& l, auto&) { l.replies[0x20] = Frame(0x30, {1, 4, 'A', '0', '0', '1'}); },
                    kComm},
        FailureCase{"SixtyFiveDevices",
                    [](auto& l, auto&) {
                      l.replies[0x20] = Frame(0x30, {65, 6, 'A', '0', '0', '1', 'X', '2'});
                    },
                    kComm},
        FailureCase{"DeviceNotListed", [](auto&, auto& d) { d.DeviceName = "x1"; },
                    kInquiryDeviceMismatch},
        FailureCase{"DeviceRefused", [](auto& l, auto&) { l.replies[0x10] = {0x15}; }, kComm},
        FailureCase{"DeviceUnacknowledged", [](auto& l, auto&) { Silent(l, 0x10); }, kComm},
        FailureCase{"NoClockModeAnswerData",
                    [](auto& l, auto&) { l.replies[0x21] = Frame(0x31, {}); }, kComm},
        FailureCase{"ClockModeNotListed", [](auto&, auto& d) { d.ClockMode = 5; },
                    kInquiryClockModeMismatch},
        FailureCase{"ClockMode256", [](auto&, auto& d) { d.ClockMode = 256; },
                    kInquiryClockModeMismatch},
        FailureCase{"ClockModeRefused", [](auto& l, auto&) { l.replies[0x11] = {0x15}; }, kComm},
        FailureCase{"ClockModeUnacknowledged", [](auto& l, auto&) { Silent(l, 0x11); }, kComm},
        FailureCase{"RatioAnswerBelowTwo",
                    [](auto& l, auto&) { l.replies[0x22] = Frame(0x32, {0}); }, kComm},
        FailureCase{"FrequencyAnswerWrongCode",
                    [](auto& l, auto&) { l.replies[0x23] = Frame(0x32, {0, 0}); }, kComm},
        FailureCase{"UserBootMatUnanswered", [](auto& l, auto&) { Silent(l, 0x24); }, kComm},
        FailureCase{"UserMatAnswerBelowTwo",
                    [](auto& l, auto&) { l.replies[0x25] = Frame(0x35, {0}); }, kComm},
        FailureCase{"EraseBlockAnswerEmpty",
                    [](auto& l, auto&) { l.replies[0x26] = Frame(0x36, {}, true); }, kComm},
        FailureCase{"EraseBlockAnswerWithOneByteSize",
                    [](auto& l, auto&) { l.replies[0x26] = Frame(0x36, {0, 0, 0}); }, kComm},
        FailureCase{"WriteSizeOfThree",
                    [](auto& l, auto&) { l.replies[0x27] = Frame(0x37, {0x01, 0x00, 0x00}); },
                    kComm},
        FailureCase{"NewBitRateRefused", [](auto& l, auto&) { l.replies[0x3F] = {0x15}; },
                    kNewBaud},
        FailureCase{"NewBitRateUnacknowledged", [](auto& l, auto&) { Silent(l, 0x3F); }, kComm},
        FailureCase{"ConfirmationRefused", [](auto& l, auto&) { l.replies[0x06] = {0x15}; },
                    kNewBaud},
        FailureCase{"ConfirmationUnacknowledged", [](auto& l, auto&) { Silent(l, 0x06); },
                    kComm},
        FailureCase{"EraseErrorAnswer", [](auto& l, auto&) { l.replies[0x40] = {0x55}; },
                    kInquiryErrorResponse},
        FailureCase{"EraseUnanswered", [](auto& l, auto&) { Silent(l, 0x40); },
                    kInquiryAnswerTimeUp},
        FailureCase{"EraseBusyThenNothing", [](auto& l, auto&) { l.replies[0x40] = {0x16}; },
                    kInquiryAnswerTimeUp},
        FailureCase{"UserMatRefused", [](auto& l, auto&) { l.replies[0x43] = {0x15}; }, kComm},
        FailureCase{"UserBootMatSelectionUnacknowledged",
                    [](auto& l, auto& d) {
                      d.MatType = 1;
                      Silent(l, 0x42);
                    },
                    kComm},
        // Counts that claim more than the answer holds are refused, never read past.
        FailureCase{"DeviceCountPastData",
                    [](auto& l, auto&) {
                      l.replies[0x20] = Frame(0x30, {3, 6, 'A', '0', '0', '1', 'X', '2'});
                    },
                    kComm},
        FailureCase{"DeviceNamePastData",
                    [](auto& l, auto&) {
                      l.replies[0x20] = Frame(0x30, {1, 9, 'A', '0', '0', '1', 'X', '2'});
                    },
                    kComm},
        FailureCase{"CharacterCountBelowFour",
                    [](auto& l, auto&) {
                      l.replies[0x20] = Frame(0x30, {1, 3, 'A', '0', '0', 'X', '2', 0});
                    },
                    kComm},
        FailureCase{"ClockModesPastData",
                    [](auto& l, auto&) { l.replies[0x21] = Frame(0x31, {5, 0, 1}); }, kComm},
        FailureCase{"RatiosPastData",
                    [](auto& l, auto&) { l.replies[0x22] = Frame(0x32, {1, 5, 1, 2}); }, kComm},
        FailureCase{"RatioTypesPastData",
                    [](auto& l, auto&) { l.replies[0x22] = Frame(0x32, {3, 1, 1}); }, kComm},
        FailureCase{"FrequenciesPastData",
                    [](auto& l, auto&) { l.replies[0x23] = Frame(0x33, {2, 0, 1, 0, 2}); },
                    kComm},
        FailureCase{"UserBootMatAreasPastData",
                    [](auto& l, auto&) { l.replies[0x24] = Frame(0x34, {1, 0, 0, 0}); }, kComm},
        FailureCase{"UserMatAreasPastData",
                    [](auto& l, auto&) {
                      l.replies[0x25] = Frame(0x35, {2, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF});
                    },
                    kComm},
        FailureCase{"EraseBlocksPastData",
                    [](auto& l, auto&) {
                      l.replies[0x26] = Frame(0x36, {3, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}, true);
                    },
                    kComm},
        FailureCase{"WriteSizeAnswerWrongCode",
                    [](auto& l, auto&) { l.replies[0x27] = Frame(0x36, {0x00, 0x80}); }, kComm}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InquirySequenceTest, SixtyFiveDevicesAreRefusedBeforeAnyIsStored) {
  loader.replies[0x20] = Frame(0x30, {65, 6, 'A', '0', '0', '1', 'X', '2'});
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepFailed);
  EXPECT_EQ(info.DeviceNo, 0);
}

TEST_F(InquirySequenceTest, SeventyClockModesAreCutTo64AndTheSequenceGoesOn) {
  Bytes modes{70};
  for (int m = 0; m < 70; ++m) modes.push_back(static_cast<std::uint8_t>(m));
  loader.replies[0x21] = Frame(0x31, modes);
  def.ClockMode = 63;
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(info.ClockModeNo, 64);
  EXPECT_EQ(*loader.Find(0x11), (Bytes{0x11, 0x01, 63, 0xAF}));

  // The 65th mode was dropped with the rest, so it cannot be selected.
  fx.host.Clear();
  def.ClockMode = 64;
  RunToEnd(result);
  EXPECT_EQ(result, StepFailed);
  EXPECT_EQ(seq.failureMessage(), kInquiryClockModeMismatch);
}

TEST_F(InquirySequenceTest, WithoutReportedClockModesOnlyModeZeroIsAccepted) {
  loader.replies[0x21] = Frame(0x31, {0});
  def.ClockMode = 0;
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(*loader.Find(0x11), (Bytes{0x11, 0x01, 0x00, 0xEE}));

  def.ClockMode = 1;
  RunToEnd(result);
  EXPECT_EQ(result, StepFailed);
  EXPECT_EQ(seq.failureMessage(), kInquiryClockModeMismatch);
}

TEST_F(InquirySequenceTest, WithoutUserBootMatNothingIsAskedAboutIt) {
  def.UserMatRdf = 0;
  info.UserBootMatAreaNo = 5;  // left over from an earlier run
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(loader.Find(0x24), nullptr);
  EXPECT_EQ(info.UserBootMatAreaNo, 0);
}

TEST_F(InquirySequenceTest, WriteSizeIsReadMostSignificantByteFirst) {
  loader.replies[0x27] = Frame(0x37, {0x01, 0x00});
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(info.WriteBlockSize, 256);
}

TEST_F(InquirySequenceTest, UserBootMatIsSelectedForMatTypeOtherThanZero) {
  def.MatType = 2;
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(loader.CommandBytes().back(), 0x42);
}

TEST_F(InquirySequenceTest, EraseWaitCountsWholeSecondsAndAccepts0x26) {
  Silent(loader, 0x40);
  RunUntil(Step::WaitErase);  // 0x40 has just gone out and the 30 s run from here
  for (int tick = 0; tick < 550; ++tick) ASSERT_EQ(fx.Tick(seq), StepBusy);
  EXPECT_EQ(fx.controls.Panel5.caption, "消去完了待ち\u3000 5/30 [秒]");
  for (int tick = 550; tick < 1250; ++tick) ASSERT_EQ(fx.Tick(seq), StepBusy);
  EXPECT_EQ(fx.controls.Panel5.caption, "消去完了待ち\u300012/30 [秒]");
  fx.line.Feed({0x26});
  fx.Tick(seq);
  EXPECT_EQ(seq.subState(), Step::SelectMat);
  StepResult result = StepBusy;
  for (int tick = 0; tick < 10 && result == StepBusy; ++tick) result = fx.Tick(seq);
  EXPECT_EQ(result, StepDone);
  EXPECT_TRUE(fx.host.events.empty());
}

TEST_F(InquirySequenceTest, EraseGivesUpAfterThirtySeconds) {
  Silent(loader, 0x40);
  RunUntil(Step::WaitErase);
  for (int tick = 1; tick < 3000; ++tick) ASSERT_EQ(fx.Tick(seq), StepBusy);
  EXPECT_EQ(seq.subState(), Step::WaitErase);
  EXPECT_EQ(fx.controls.Panel5.caption, "消去完了待ち\u300029/30 [秒]");
  fx.Tick(seq);
  EXPECT_EQ(fx.controls.Panel5.caption, "消去完了待ち\u300030/30 [秒]");
  EXPECT_EQ(seq.subState(), Step::ShowFailure);
  EXPECT_EQ(fx.Tick(seq), StepFailed);
  EXPECT_EQ(fx.host.events, (std::vector<std::string>{"beep", "box:Ans TimeUp"}));
}

TEST_F(InquirySequenceTest, BusyAnswerToEraseKeepsWaitingForTheRealOne) {
  loader.replies[0x40] = {0x16};
  RunUntil(Step::WaitErase);
  for (int tick = 0; tick < 100; ++tick) ASSERT_EQ(fx.Tick(seq), StepBusy);
  EXPECT_EQ(seq.subState(), Step::WaitErase);
  fx.line.Feed({0x16, 0x06});
  StepResult result = StepBusy;
  for (int tick = 0; tick < 10 && result == StepBusy; ++tick) result = fx.Tick(seq);
  EXPECT_EQ(result, StepDone);
  EXPECT_TRUE(fx.host.events.empty());
}

TEST_F(InquirySequenceTest, SilenceAtTheNewRateFailsAfter500Ms) {
  Silent(loader, 0x06);
  RunUntil(Step::SwitchBitRate);
  fx.Tick(seq);  // reopen, confirmation, 500 ms start
  for (int tick = 1; tick < 50; ++tick) ASSERT_EQ(fx.Tick(seq), StepBusy);
  EXPECT_EQ(seq.subState(), Step::WaitConfirmationAck);
  fx.Tick(seq);
  EXPECT_EQ(seq.subState(), Step::CommunicationFailed);
  fx.Tick(seq);
  EXPECT_EQ(fx.Tick(seq), StepFailed);
  EXPECT_EQ(fx.host.events,
            (std::vector<std::string>{"beep", "box: ＣＰＵとの通信が失敗しました "}));
}

TEST_F(InquirySequenceTest, PortThatWillNotReopenAnnouncesItselfAndEndsInTimeOut) {
  RunUntil(Step::SwitchBitRate);
  fx.line.failOpen = true;
  StepResult result = StepBusy;
  for (int tick = 0; tick < 100 && result == StepBusy; ++tick) result = fx.Tick(seq);
  EXPECT_EQ(result, StepFailed);
  EXPECT_EQ(fx.host.events,
            (std::vector<std::string>{"beep", "box:\u3000ＣＯＭポート初期化 ＮＧ\u3000", "beep",
                                      "box: ＣＰＵとの通信が失敗しました "}));
}

TEST_F(InquirySequenceTest, ProductNameOver32CharactersIsCutTo32) {
  const std::string longName(40, 'N');
  Bytes devices{1};
  AddDevice(devices, "L001", longName);
  loader.replies[0x20] = Frame(0x30, devices);
  def.DeviceName = longName.substr(0, 32);
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(std::string(info.DeviceName[0].data()), longName.substr(0, 32));
  EXPECT_STREQ(info.DeviceCode[0].data(), "L001");
}

TEST_F(InquirySequenceTest, ZeroInsideANameEndsItButNotTheEntry) {
  Bytes devices{2};
  devices.insert(devices.end(), {7, 'A', '0', '0', '1', 'X', 0, 'Q'});
  AddDevice(devices, "B002", "X2");
  loader.replies[0x20] = Frame(0x30, devices);
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_STREQ(info.DeviceName[0].data(), "X");
  EXPECT_EQ(*loader.Find(0x10), (Bytes{0x10, 0x04, 'B', '0', '0', '2', 0x18}));
}

TEST_F(InquirySequenceTest, EraseBlockAnswerLongerThanTheBufferKeepsTheBlocksThatFit) {
  Bytes blocks{128};
  for (std::uint32_t b = 0; b < 128; ++b) {
    AddU32(blocks, b * 0x1000);
    AddU32(blocks, b * 0x1000 + 0xFFF);
  }
  loader.replies[0x26] = Frame(0x36, blocks, true);  // 1025 data bytes
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(info.EraseBlockNo, 127);
  EXPECT_EQ(info.EraseBlock[126].Top, 126u * 0x1000);
  EXPECT_EQ(info.WriteBlockSize, 128);
}

TEST_F(InquirySequenceTest, RatioCountsAreKeptAsReportedButOnly64RatiosStored) {
  Bytes ratios{1, 70};
  for (int r = 0; r < 70; ++r) ratios.push_back(static_cast<std::uint8_t>(r + 1));
  loader.replies[0x22] = Frame(0x32, ratios);
  StepResult result{};
  RunToEnd(result);
  EXPECT_EQ(result, StepDone);
  EXPECT_EQ(info.MultipleTypeNo, 1);
  EXPECT_EQ(info.MultipleRatioNo[0], 70);
  EXPECT_EQ(info.Ratio[0][63], 64);
}

}  // namespace
}  // namespace vantrel
