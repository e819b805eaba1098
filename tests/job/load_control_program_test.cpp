#include "job/load_control_program.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/window_job.h"
#include "support/recording_host.h"
#include "support/srecord_builder.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using testing::MakeRecord;

constexpr const char* kGoodInf =
    "[BootDef]\nDeviceName=DEV-1\nUserMatRdf=1\nBaudP=57600\nClockFreq=0x7D0\nMatType=0\n"
    "ClockMode=0\nMulRatioNo=2\nMulRatio1=4\nMulRatio2=2\nMulRatio3=0\nMulRatio4=0\n";

class LoadControlProgramTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& bytes) {
    folder.Write("CTRL_MOT/" + name, bytes);
  }
  StepResult Load(const std::string& name) {
    controls.ComboBoxCpuType.text = name;
    return op.Run();
  }
  std::vector<std::string> Failure(const std::string& code) const {
    return {"beep", "box:書き込み制御プログラム異常 " + code};
  }
  // A program of n bytes, 16 per record, from address 0x8000.
  static std::string Program(std::size_t n) {
    std::string text = "S0030000FC\n";
    for (std::size_t at = 0; at < n; at += 16) {
      std::vector<std::uint8_t> data;
      for (std::size_t i = at; i < n && i < at + 16; ++i)
        data.push_back(static_cast<std::uint8_t>(i));
      text += MakeRecord('1', static_cast<std::uint32_t>(0x8000 + at), data) + "\n";
    }
    return text + "S9030000FC\n";
  }

  testing::TempFolder folder;
  testing::RecordingHost host;
  WindowControls controls;
  WindowFields fields;
  WindowJob window{host, controls, fields};
  std::unique_ptr<ProgramImage> program = std::make_unique<ProgramImage>();
  bool inquiryMode = true;
  BootDefinition boot;
  LoadControlProgram op{window, window, program->control, inquiryMode, boot};
  void SetUp() override { fields.ExeFolder = folder.path(); }
};

TEST_F(LoadControlProgramTest, ReadsContiguousRecordsIntoTheBuffer) {
  Write("CPU1.mot", "S0030000FC\n" + MakeRecord('2', 0xFFE000, {1, 2, 3}) + "\n" +
                        MakeRecord('2', 0xFFE003, {4, 5}, true) + "\nS804000000FB\ngarbage\n");
  EXPECT_EQ(Load("CPU1.mot"), StepDone);
  EXPECT_TRUE(host.events.empty());
  EXPECT_FALSE(inquiryMode);
  const auto& c = program->control;
  EXPECT_EQ(c.length, 5u);
  EXPECT_EQ(c.firstAddress, 0xFFE000u);
  EXPECT_EQ(c.lastAddress, 0xFFE004u);
  EXPECT_EQ(std::vector<std::uint8_t>(c.bytes.begin(), c.bytes.begin() + 5),
            (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
}

TEST_F(LoadControlProgramTest, EndRecordIsNotRequired) {
  Write("a.mot", MakeRecord('1', 0x100, {9, 8}) + "\r\n");
  EXPECT_EQ(Load("a.mot"), StepDone);
  EXPECT_EQ(program->control.length, 2u);
}

TEST_F(LoadControlProgramTest, HoldsExactly4096Bytes) {
  Write("full.mot", Program(4096));
  EXPECT_EQ(Load("full.mot"), StepDone);
  EXPECT_EQ(program->control.length, 4096u);
  EXPECT_EQ(program->control.bytes[4095], static_cast<std::uint8_t>(4095));

  Write("over.mot", Program(4097));
  EXPECT_EQ(Load("over.mot"), StepFailed);
  EXPECT_EQ(host.events, Failure("07"));
}

TEST_F(LoadControlProgramTest, ErrorsShowTheirCode) {
  const std::string first = MakeRecord('1', 0x1000, {1, 2}) + "\n";
  std::string badSum = MakeRecord('1', 0x1002, {3});
  badSum.back() = badSum.back() == '0' ? '1' : '0';
  const struct {
    std::string file;
    const char* code;
  } cases[] = {
      {first + "\n", "01"},
      {first + "S1XX\n", "02"},
      {first + "S6030000FC\n", "03"},
      {first + "S105100G\n", "04"},
      {first + MakeRecord('1', 0x1003, {3}) + "\n", "05"},  // one byte left out
      {first + MakeRecord('1', 0x0FFF, {3}) + "\n", "05"},
      {first + "S1051002XX00\n", "06"},
      {first + "S104100203\n", "08"},
      {first + badSum + "\n", "09"},
      {"S0030000FC\nS9030000FC\n", kNoDataRecordCode.data()},
      {"", kNoDataRecordCode.data()},
      {"S1031000EC\n", kNoDataRecordCode.data()},  // a data record without data bytes
  };
  for (const auto& c : cases) {
    host.Clear();
    Write("bad.mot", c.file);
    EXPECT_EQ(Load("bad.mot"), StepFailed) << c.file;
    EXPECT_EQ(host.events, Failure(c.code)) << c.file;
  }
}

TEST_F(LoadControlProgramTest, MissingFileCannotBeOpened) {
  EXPECT_EQ(Load("absent.mot"), StepFailed);
  EXPECT_EQ(host.events,
            (std::vector<std::string>{"beep", "box:書き込み制御ファイルがオープンできません"}));
}

TEST_F(LoadControlProgramTest, InfFileInAnyCaseReadsBootDefinitions) {
  for (const std::string name : {"dev.inf", "DEV.INF", "Dev.Inf"}) {
    inquiryMode = false;
    boot = BootDefinition{};
    controls.PAN_BLOCK_SIZE.caption.clear();
    Write(name, kGoodInf);
    EXPECT_EQ(Load(name), StepDone) << name;
    EXPECT_TRUE(host.events.empty());
    EXPECT_TRUE(inquiryMode) << name;
    EXPECT_EQ(boot.ClockFreq, 2000);
    EXPECT_EQ(controls.PAN_BLOCK_SIZE.caption, "BlockSize=128");
  }
}

TEST_F(LoadControlProgramTest, IncompleteInfFileFailsWithInfError) {
  Write("dev.inf", "[BootDef]\nDeviceName=DEV-1\n");
  EXPECT_EQ(Load("dev.inf"), StepFailed);
  EXPECT_TRUE(inquiryMode);
  EXPECT_EQ(host.events, Failure("inf_error"));
}

TEST_F(LoadControlProgramTest, OtherExtensionsAreReadAsRecords) {
  Write("dev.inf.mot", MakeRecord('1', 0, {1}) + "\n");
  Write("dev.txt", kGoodInf);
  EXPECT_EQ(Load("dev.inf.mot"), StepDone);
  EXPECT_FALSE(inquiryMode);
  EXPECT_EQ(Load("dev.txt"), StepFailed);
  EXPECT_EQ(host.events, Failure("01"));
}

}  // namespace
}  // namespace vantrel
