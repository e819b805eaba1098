#include <gtest/gtest.h>

#include "process/window_app.h"

namespace vantrel::testing {
namespace {

struct UnattendedCase {
  const char* name;
  bool inquiry;
  std::vector<std::string> fault;
  int exitCode;
  const char* box;  // the failure message pressed away, if any
};

class Unattended : public ::testing::TestWithParam<UnattendedCase> {};

// "vantrel -GO" with AutoStart and AutoExit: the job runs with nobody at the window and the
// process ends with its result, the settings file untouched.
TEST_P(Unattended, GoRunsTheJobAndEndsWithItsResult) {
  const auto& c = GetParam();
  E2eJob job;
  WindowApp app(job);
  job.CpuType("CLS.mot", 128, "0");
  job.CpuType("INQ.inf", 128, "0");
  job.BootDefinition("INQ.inf", "VTR-100", 0, "57600");
  std::vector<std::string> target = {"--erase-ms", "100"};
  if (c.inquiry) {
    target.insert(target.end(), {"--protocol", "inquiry"});
  } else {
    target.insert(target.end(), {"--protocol", "classic", "--prog-baud", "38400"});
  }
  target.insert(target.end(), c.fault.begin(), c.fault.end());
  ASSERT_TRUE(job.StartTarget(target));
  // The fixed program folder wins over UserMotPath, and .mot over .s.
  job.program.Fill(0, 1500, 21);
  job.home.Write("@APP_MOT/a.mot", job.program.Text());
  SrecWriter other;
  other.Fill(0, 64, 22);
  job.home.Write("@APP_MOT/b.s", other.Text());
  // The port comes from the settings file: a pseudo-terminal has no COM number on Linux.
  const std::string settings = "[CommPort]\nPortNo=" + job.port + "\n[Position]\nLeft=5\n";
  job.home.Write("vantrel.ini", settings);
  job.home.Write("@AUTO_PGM/AutoPgm.ini",
                 std::string("[AutoPgm]\nAutoStart=1\nAutoExit=1\nVerify=1\nCtrlProgam=") +
                     (c.inquiry ? "INQ.inf" : "CLS.mot") +
                     "\nUserMotPath=" + WindowApp::AppPath(job.home.PathOf("other.mot")) + "\n");

  auto vantrel = app.Start({"-GO"});
  if (c.box != nullptr) {
    EXPECT_TRUE(WindowApp::PressOk(vantrel->pid())) << vantrel->err();
  }
  EXPECT_EQ(vantrel->Wait(60000), c.exitCode) << vantrel->err();
  if (c.box != nullptr) {
    EXPECT_TRUE(WindowApp::Showed(*vantrel, c.box)) << vantrel->err();
  }
  EXPECT_EQ(job.home.Read("vantrel.ini"), settings);
  if (c.exitCode == 0) job.ExpectFlashHoldsProgram(0);
}

INSTANTIATE_TEST_SUITE_P(Jobs, Unattended,
                         ::testing::Values(UnattendedCase{"Classic", false, {}, 0, nullptr},
                                           UnattendedCase{"Inquiry", true, {}, 0, nullptr},
                                           UnattendedCase{"ClassicBlockRefused",
                                                          false,
                                                          {"--fault-block-nak", "3"},
                                                          1,
                                                          "\u3000書き込み異常\u3000Ans=15H\u3000"},
                                           UnattendedCase{"VerifyDifference",
                                                          false,
                                                          {"--fault-verify-data", "2"},
                                                          2,
                                                          "ベリファイ不一致"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vantrel::testing
