#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "support/child_process.h"
#include "support/temp_folder.h"

namespace vantrel::testing {
namespace {

namespace fs = std::filesystem;

// The program itself runs (not the test's fork before it) and has its handler for SIGTERM in
// place (bit 15 of SigCgt).
bool CatchesTerm(pid_t pid, const std::string& exe) {
  std::error_code ec;
  if (fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec) != exe) return false;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("SigCgt:", 0) == 0) {
      return (std::stoull(line.substr(7), nullptr, 16) >> (SIGTERM - 1)) & 1;
    }
  }
  return false;
}

TEST(WindowProcess, ACopyAloneInItsFolderReadsAndWritesItsSettingsThere) {
  TempFolder home;
  const std::string exe = home.PathOf("vantrel");
  fs::copy_file(std::string(VANTREL_BIN_DIR) + "/vantrel", exe);
  fs::copy(std::string(VANTREL_SOURCE_DIR) + "/examples/CTRL_MOT", home.PathOf("CTRL_MOT"));
  home.Write("vantrel.ini",
             "; bench 3\r\n[Writer]\r\nCPU=VTC-100.mot\r\nVerify=1\r\n[Mine]\r\nKeep=me\r\n"
             "[CommPort]\r\nPortNo=/dev/ttyUSB9\r\n");

  ChildProcess app({exe, "/work/new/app.s"});  // the test's own folder is the working folder
  ASSERT_TRUE(app.started());
  for (int i = 0; i < 200 && !CatchesTerm(app.pid(), exe); ++i) ::usleep(10000);
  app.Signal(SIGTERM);  // ends it the way the close box does
  EXPECT_EQ(app.Wait(10000), 0) << app.err();
  EXPECT_EQ(home.Read("vantrel.ini"),
            "; bench 3\r\n[Writer]\r\nCPU=VTC-100.mot\r\nVerify=1\r\n[Mine]\r\nKeep=me\r\n"
            "[CommPort]\r\nPortNo=/dev/ttyUSB9\r\nBaudB=9600\r\nBaudP=57600\r\n"
            "[Position]\r\nTop=0\r\nLeft=0\r\nSnap=1\r\n"
            "[Path]\r\nOD1_Path=/work/new\r\nMOT_Path=/work/new/app.s\r\n");
}

}  // namespace
}  // namespace vantrel::testing
