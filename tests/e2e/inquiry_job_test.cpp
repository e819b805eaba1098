#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "e2e/e2e_job.h"

namespace vantrel::testing {
namespace {

// The sample device description with the given programming unit.
std::string DeviceWithWriteSize(int writeSize) {
  std::ifstream in(kSource + "/examples/target/sample.dev");
  std::stringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  const auto at = s.find("write-size 128");
  if (at != std::string::npos) s.replace(at, 14, "write-size " + std::to_string(writeSize));
  return s;
}

struct InquiryCase {
  const char* name;
  int blockSize;
  int matType;
  std::uint32_t size;  // the user boot mat holds 8 KiB
  const char* cadence = "fast";
};

class InquiryJob : public ::testing::TestWithParam<InquiryCase> {};

TEST_P(InquiryJob, WritesAndVerifiesAtTheNewBitRate) {
  const auto c = GetParam();
  E2eJob job;
  job.CpuType("INQ.inf", c.blockSize, "0");
  job.BootDefinition("INQ.inf", "VTR-200", c.matType, "57600");
  const std::string device = job.home.Write("target.dev", DeviceWithWriteSize(c.blockSize));
  job.program.Fill(0, c.size, 11).Fill(0x1800, 100, 12);
  // The target listens only at the new rate after the 0x3F exchange and garbles anything sent at
  // another, so a job that verifies proves the host reopened its port at BaudP.
  ASSERT_TRUE(job.StartTarget({"--protocol", "inquiry", "--device", device, "--erase-ms", "200"}));
  EXPECT_EQ(job.RunCli("INQ.inf", {"--verify", std::string("--cadence=") + c.cadence}), 0)
      << job.cliErr;
  if (c.matType == 0) {
    job.ExpectFlashHoldsProgram(0);
  } else {
    job.WaitForTarget();
  }
  EXPECT_TRUE(job.home.Read("CpuInf.txt").empty()) << "written without --cpu-report";
}

INSTANTIATE_TEST_SUITE_P(BlockSizesAndMats, InquiryJob,
                         ::testing::Values(InquiryCase{"UserMat128", 128, 0, 3000},
                                           InquiryCase{"UserMat256", 256, 0, 3000},
                                           InquiryCase{"UserBootMat128", 128, 1, 2000},
                                           InquiryCase{"UserMat128Cadence10ms", 128, 0, 3000,
                                                       "10ms"}),
                         [](const auto& info) { return info.param.name; });

TEST(InquiryReport, CpuReportWritesCpuInfAfterASuccess) {
  E2eJob job;
  job.CpuType("INQ.inf", 128, "0");
  job.BootDefinition("INQ.inf", "VTR-100", 0);
  job.program.Fill(0, 256, 13);
  ASSERT_TRUE(job.StartTarget({"--protocol", "inquiry", "--erase-ms", "100"}));
  EXPECT_EQ(job.RunCli("INQ.inf", {"--cpu-report"}), 0) << job.cliErr;
  const std::string report = job.home.Read("CpuInf.txt");
  EXPECT_NE(report.find("InfDeviceName = \"VTR-100\"\r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("DeviceName[ 1] = \"VTR-200\", DeviceCode[ 1] = \"VT02\"\r\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("WriteBlockSize = 128\r\n"), std::string::npos) << report;
}

TEST(InquiryReport, ADeviceNameMismatchFailsAndWritesCpuInf) {
  E2eJob job;
  job.CpuType("INQ.inf", 128, "0");
  job.BootDefinition("INQ.inf", "vtr-100", 0);  // the match is case-sensitive
  job.program.Fill(0, 256, 14);
  ASSERT_TRUE(job.StartTarget({"--protocol", "inquiry"}));
  EXPECT_EQ(job.RunCli("INQ.inf"), 1);
  EXPECT_NE(job.cliErr.find(" DeviceName が一致しません \n"), std::string::npos) << job.cliErr;
  const std::string report = job.home.Read("CpuInf.txt");
  EXPECT_NE(report.find("DeviceNo   = 2\r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("ClockModeNo = 0\r\n"), std::string::npos) << report;
}

}  // namespace
}  // namespace vantrel::testing
