#include "inquiry/cpu_info_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "core/step.h"
#include "fake_boot_loader.h"
#include "good_definition.h"
#include "inquiry/inquiry_sequence.h"
#include "support/step_fixture.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using testing::FakeBootLoader;
using testing::Frame;
using testing::GoodDefinition;

const char kDefinitionPart[] =
    "------------------------------------------\r\n"
    "InfDeviceName = \"X2\"\r\n"
    "InfUserMatRdf = 1\r\n"
    "InfBaudP      = \"38400\"\r\n"
    "InfClockMode  = 1\r\n"
    "InfClockFreq  = 2000\r\n"
    "InfMatType    = 0\r\n"
    "InfMulRatioNo = 2\r\n"
    "InfMulRatio1  = 4\r\n"
    "InfMulRatio2  = 2\r\n"
    "InfMulRatio3  = 1\r\n"
    "InfMulRatio4  = -10000\r\n"
    "------------------------------------------\r\n";

const char kDevicesAndModes[] =
    "DeviceNo   = 2\r\n"
    "DeviceName[ 0] = \"X1\", DeviceCode[ 0] = \"A001\"\r\n"
    "DeviceName[ 1] = \"X2\", DeviceCode[ 1] = \"B002\"\r\n"
    "\r\n"
    "ClockModeNo = 2\r\n"
    "ClockMode[ 0] = 0\r\n"
    "ClockMode[ 1] = 1\r\n"
    "\r\n";

class CpuInfoReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("vantrel_cpuinf_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    def = GoodDefinition();
    def.MulRatio4 = kMissingInteger;  // the report shows a missing value as it is
    loader.Attach(fx.line);
  }
  void TearDown() override { fs::remove_all(folder); }

  StepResult RunSequence() {
    seq.Run(PhaseStart);
    StepResult result = StepBusy;
    for (int call = 0; call < 5000 && result == StepBusy; ++call) result = fx.Tick(seq);
    return result;
  }
  std::string ReportFile() const {
    std::ifstream in(folder / "CpuInf.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Report(bool failed) { WriteCpuInfoReport(failed, def, info, folder.string(), fx.window); }

  fs::path folder;
  testing::StepFixture fx;
  FakeBootLoader loader;
  BootDefinition def;
  CpuInformation info;
  ResponseBuffer buffer{};
  InquirySequence seq{fx.ctx, def, info, buffer};
};

TEST_F(CpuInfoReportTest, FullReportAfterSuccessWithShiftHeld) {
  ASSERT_EQ(RunSequence(), StepDone);
  fx.host.shift = true;
  Report(false);
  const std::string expected = std::string(kDefinitionPart) + kDevicesAndModes +
                               "MultipleTypeNo  = 2\r\n"
                               "MultipleRatioNo[ 0] = H'02:  H'04 H'08\r\n"
                               "MultipleRatioNo[ 1] = H'01:  H'FE\r\n"
                               "\r\n"
                               "FreqNo = 1\r\n"
                               "Fmin-Fmax[ 0] = 1000-20000\r\n"
                               "\r\n"
                               "UserBootMatAreaNo = 1\r\n"
                               "Top-End[ 0] = H'00000000 - H'00001FFF\r\n"
                               "\r\n"
                               "UserMatAreaNo = 1\r\n"
                               "Top-End[ 0] = H'00000000 - H'0001FFFF\r\n"
                               "\r\n"
                               "EraseBlockNo = 2\r\n"
                               "Top-End[ 0] = H'00000000 - H'00000FFF\r\n"
                               "Top-End[ 1] = H'00001000 - H'00001FFF\r\n"
                               "\r\n"
                               "WriteBlockSize = 128\r\n";
  EXPECT_EQ(ReportFile(), expected);
}

TEST_F(CpuInfoReportTest, AfterClockModeFailureLaterSectionsAreEmpty) {
  ASSERT_EQ(RunSequence(), StepDone);  // leaves full tables behind
  def.ClockMode = 7;
  ASSERT_EQ(RunSequence(), StepFailed);
  Report(true);
  std::string expected = kDefinitionPart;
  expected.replace(expected.find("InfClockMode  = 1"), 17, "InfClockMode  = 7");
  expected += std::string(kDevicesAndModes) +
              "MultipleTypeNo  = 0\r\n"
              "\r\n"
              "FreqNo = 0\r\n"
              "\r\n"
              "UserBootMatAreaNo = 0\r\n"
              "\r\n"
              "UserMatAreaNo = 0\r\n"
              "\r\n"
              "EraseBlockNo = 0\r\n"
              "\r\n"
              "WriteBlockSize = 0\r\n";
  EXPECT_EQ(ReportFile(), expected);
}

TEST_F(CpuInfoReportTest, NoUserBootMatSectionWithoutUserBootMat) {
  def.UserMatRdf = 0;
  ASSERT_EQ(RunSequence(), StepDone);
  Report(true);
  const std::string report = ReportFile();
  EXPECT_EQ(report.find("UserBootMatAreaNo"), std::string::npos);
  EXPECT_NE(report.find("FreqNo = 1\r\nFmin-Fmax[ 0] = 1000-20000\r\n\r\nUserMatAreaNo = 1\r\n"),
            std::string::npos);
}

TEST_F(CpuInfoReportTest, NamesAndCodesAreWrittenAsTheTargetSentThem) {
  std::vector<std::uint8_t> devices{1};
  devices.insert(devices.end(), {8, 0xA1, 'Z', '0', '9', 'X', 0x83, 0x41, '2'});
  loader.replies[0x20] = Frame(0x30, devices);
  ASSERT_EQ(RunSequence(), StepFailed);  // no product is named X2 now
  Report(true);
  EXPECT_NE(
      ReportFile().find("DeviceName[ 0] = \"X\x83\x41\x32\", DeviceCode[ 0] = \"\xA1Z09\"\r\n"),
      std::string::npos);
}

TEST_F(CpuInfoReportTest, WideIndexesAndRatioCountsBeyondStorage) {
  info.ClockModeNo = 11;
  info.ClockMode[10] = 255;
  info.MultipleTypeNo = 1;
  info.MultipleRatioNo[0] = 70;  // as reported; only 64 are stored
  info.Ratio[0].fill(0xFE);
  const std::string report = FormatCpuInfoReport(def, info);
  EXPECT_NE(report.find("ClockMode[10] = 255\r\n"), std::string::npos);
  std::string ratios = "MultipleRatioNo[ 0] = H'46: ";
  for (int i = 0; i < 64; ++i) ratios += " H'FE";
  EXPECT_NE(report.find(ratios + "\r\n"), std::string::npos);
}

TEST_F(CpuInfoReportTest, WrittenOnlyAfterFailureOrWithShiftHeld) {
  const struct {
    bool failed;
    bool shift;
    bool written;
  } cases[] = {{false, false, false}, {false, true, true}, {true, false, true}, {true, true, true}};
  for (const auto& c : cases) {
    std::ofstream(folder / "CpuInf.txt", std::ios::binary) << "older";
    fx.host.shift = c.shift;
    Report(c.failed);
    EXPECT_EQ(ReportFile() != "older", c.written) << c.failed << c.shift;
  }
}

TEST_F(CpuInfoReportTest, ReadOnlyReportStaysAsItWas) {
  std::ofstream(folder / "CpuInf.txt", std::ios::binary) << "older";
  fs::permissions(folder / "CpuInf.txt", fs::perms::owner_read);
  Report(true);
  EXPECT_EQ(ReportFile(), "older");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  fs::permissions(folder / "CpuInf.txt", fs::perms::owner_all);
}

TEST_F(CpuInfoReportTest, FolderThatCannotHoldTheFileIsSkippedSilently) {
  WriteCpuInfoReport(true, def, info, (folder / "missing").string(), fx.window);
  EXPECT_FALSE(fs::exists(folder / "missing"));
  EXPECT_TRUE(fx.host.events.empty());
}

}  // namespace
}  // namespace vantrel
