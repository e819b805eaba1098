#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/shared_timeout.h"
#include "core/step.h"
#include "core/step_context.h"
#include "app/window_job.h"
#include "inquiry/inquiry_sequence.h"
#include "serial/comm_ctrl.h"
#include "serial/open_port.h"
#include "support/fake_clock.h"
#include "support/recording_host.h"
#include "simulator/in_process_device.h"
#include "simulator/inquiry_boot_loader.h"
#include "simulator/target_model.h"

namespace vantrel {
namespace {

// The sequence against the simulated target in the same process, after the bit rate has been
// adjusted at 9600 bit/s.
class InquiryWithTargetTest : public ::testing::Test {
 protected:
  void Start(const simulator::InquiryConfig& config) {
    simulator::TargetOptions options;
    options.makeLoader = [config](simulator::Flash& flash) {
      return simulator::MakeInquiryBootLoader(config, flash);
    };
    model = std::make_unique<simulator::TargetModel>(options);
    port = std::make_unique<CommCtrl>(std::make_unique<simulator::InProcessDevice>(*model, clock));
    ctx = std::make_unique<StepContext>(StepContext{*port, timeout, window, window});
    seq = std::make_unique<InquirySequence>(*ctx, def, info, buffer);
    controls.ComboBoxComPort.text = "sim";
    OpenPort(*port, window, "sim", "9600", false);
    std::vector<int> answers;
    for (std::uint8_t byte : {0x00, 0x00, 0x00, 0x55}) {
      port->PutByte(byte);
      clock.Advance(10);
      for (int b = port->GetByte(); b >= 0; b = port->GetByte()) answers.push_back(b);
    }
    ASSERT_EQ(answers, (std::vector<int>{0x00, 0xE6}));
  }

  StepResult Run() {
    seq->Run(PhaseStart);
    StepResult result = StepBusy;
    for (int call = 0; call < 5000 && result == StepBusy; ++call) {
      clock.Advance(10);
      result = seq->Run(PhaseContinue);
    }
    return result;
  }

  testing::FakeClock clock{5000};
  SharedTimeout timeout{clock};
  testing::RecordingHost host;
  WindowControls controls;
  WindowFields fields;
  WindowJob window{host, controls, fields};
  std::unique_ptr<simulator::TargetModel> model;
  std::unique_ptr<CommCtrl> port;
  std::unique_ptr<StepContext> ctx;
  BootDefinition def = [] {
    BootDefinition d;
    d.DeviceName = "VTR-200";
    d.UserMatRdf = 1;
    d.BaudP = "38400";
    d.ClockFreq = 2000;
    d.MatType = 0;
    d.ClockMode = 1;
    d.MulRatioNo = 2;
    d.MulRatio1 = 4;
    d.MulRatio2 = 2;
    d.MulRatio3 = 1;
    d.MulRatio4 = 1;
    return d;
  }();
  CpuInformation info;
  ResponseBuffer buffer{};
  std::unique_ptr<InquirySequence> seq;
};

TEST_F(InquiryWithTargetTest, SelectsTheDeviceAndEndsAtTheNewRate) {
  ASSERT_NO_FATAL_FAILURE(Start(simulator::InquiryConfig{}));
  EXPECT_EQ(Run(), StepDone);
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(model->ListeningBaud(), 38400u);
  EXPECT_EQ(controls.ComboBoxBr2.text, "38400");
  EXPECT_EQ(info.DeviceNo, 2);
  EXPECT_STREQ(info.DeviceCode[1].data(), "VT02");
  EXPECT_EQ(info.EraseBlockNo, 8);
  EXPECT_EQ(info.UserMat[0].End, 0x3FFFFu);
}

TEST_F(InquiryWithTargetTest, TargetFaultsEndInTheirMessages) {
  const struct {
    void (*apply)(simulator::InquiryFaults&);
    const char* message;
  } cases[] = {
      {[](simulator::InquiryFaults& f) { f.silentAtNewRate = true; },
       " ＣＰＵとの通信が失敗しました "},
      {[](simulator::InquiryFaults& f) { f.nakBitRate = true; },
       " 新ボーレートに設定できませんでした "},
      {[](simulator::InquiryFaults& f) { f.manyDevices = true; }, " ＣＰＵとの通信が失敗しました "},
      {[](simulator::InquiryFaults& f) { f.wrongChecksumFor = 0x26; },
       " ＣＰＵとの通信が失敗しました "},
      {[](simulator::InquiryFaults& f) { f.eraseAnswer = -1; }, "Ans TimeUp"},
  };
  for (const auto& c : cases) {
    simulator::InquiryConfig config;
    c.apply(config.faults);
    host.Clear();
    ASSERT_NO_FATAL_FAILURE(Start(config));
    EXPECT_EQ(Run(), StepFailed) << c.message;
    EXPECT_EQ(host.boxes.back(), c.message);
  }
}

TEST_F(InquiryWithTargetTest, ManyClockModesAreCutAndTheJobGoesOn) {
  simulator::InquiryConfig config;
  config.faults.manyClockModes = true;
  ASSERT_NO_FATAL_FAILURE(Start(config));
  EXPECT_EQ(Run(), StepDone);
  EXPECT_EQ(info.ClockModeNo, 64);
}

}  // namespace
}  // namespace vantrel
