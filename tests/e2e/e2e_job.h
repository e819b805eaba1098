#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "e2e/cli_under_test.h"
#include "support/child_process.h"
#include "support/srec_writer.h"
#include "support/temp_folder.h"

namespace vantrel::testing {

inline const std::string kBin = VANTREL_BIN_DIR;
inline const std::string kSource = VANTREL_SOURCE_DIR;

// A home folder with CTRL_MOT for vantrel-cli, a simulated target on a pty, and one job between
// them.
class E2eJob {
 public:
  E2eJob() {
    // A short write-control program keeps the transfer quick; its bytes do not matter.
    SrecWriter control;
    control.Fill(0xFFE000, 64, 99, 16);
    home.Write("CTRL_MOT/CLS.mot", control.Text());
  }

  // Adds a Baud.ini section for a CPU type.
  void CpuType(const std::string& name, int blockSize, const std::string& romBase,
               const std::string& baudP = "38400") {
    baudIni_ += "[" + name + "]\nBaudB=9600\nBaudP=" + baudP +
                "\nBlockSize=" + std::to_string(blockSize) + "\nRomBaseAddr=" + romBase + "\n";
    home.Write("CTRL_MOT/Baud.ini", baudIni_);
  }

  void BootDefinition(const std::string& name, const std::string& deviceName, int matType,
                      const std::string& baudP = "115200") {
    home.Write("CTRL_MOT/" + name,
               "[BootDef]\nDeviceName=" + deviceName + "\nUserMatRdf=1\nBaudP=" + baudP +
                   "\nClockFreq=2000\nMatType=" + std::to_string(matType) +
                   "\nClockMode=0\nMulRatioNo=2\nMulRatio1=4\nMulRatio2=2\nMulRatio3=0\n"
                   "MulRatio4=0\n");
  }

  // Starts vantrel-target, reads its pty path and names the port vantrel-cli opens to reach it.
  // Every job ends the target (--jobs 1).
  bool StartTarget(std::vector<std::string> options) {
    std::vector<std::string> argv = {kBin + "/vantrel-target", "--jobs", "1", "--quiet", "--dump",
                                     home.PathOf("flash.bin")};
    argv.insert(argv.end(), options.begin(), options.end());
    target_.emplace(argv);
    const auto line = target_->ReadLine(5000);
    if (!line) return false;
    pty = *line;
    if (pty.empty()) return false;
    port_.emplace(pty);
    port = port_->name();
    return !port.empty();
  }

  // The user program goes into a folder and file with Japanese names: they must reach the
  // system intact (under Wine as UTF-16, whatever the locale).
  std::string WriteProgram() { return home.Write(kProgramName, program.Text()); }

  // The arguments of a job on this home, port and CPU type.
  std::vector<std::string> CliArgs(const std::string& cpu, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--home", CliPath(home.path()), "--port", port, "--cpu", cpu};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(CliPath(home.PathOf(kProgramName)));
    return CliCommand(args);
  }

  // Writes the program and runs vantrel-cli on the pty; returns its exit code.
  std::optional<int> RunCli(const std::string& cpu, std::vector<std::string> extra = {},
                            int timeoutMs = 60000) {
    WriteProgram();
    cli_.emplace(CliArgs(cpu, std::move(extra)));
    const auto code = cli_->Wait(timeoutMs);
    cliErr = CliText(cli_->err());
    return code;
  }

  // Waits for the target to finish its job and write its dump.
  void WaitForTarget() {
    if (target_) {
      if (!target_->Wait(5000)) target_->Signal(SIGTERM);
      target_->Wait(5000);
    }
  }

  // The flash must hold exactly the program: every other byte erased.
  void ExpectFlashHoldsProgram(std::uint32_t flashBase) {
    WaitForTarget();
    const std::string dump = home.Read("flash.bin");
    ASSERT_FALSE(dump.empty());
    std::string expected(dump.size(), '\xFF');
    for (const auto& [address, value] : program.image()) {
      ASSERT_GE(address, flashBase);
      ASSERT_LT(address - flashBase, dump.size());
      expected[address - flashBase] = static_cast<char>(value);
    }
    EXPECT_TRUE(dump == expected) << "the flash differs from the program";
  }

  TempFolder home;
  SrecWriter program;
  std::string pty;   // the target's pseudo-terminal
  std::string port;  // what vantrel-cli is told to open
  std::string cliErr;

 private:
  static constexpr const char* kProgramName = "ユーザー/書込み.mot";

  std::string baudIni_;
  std::optional<CliPort> port_;
  std::optional<ChildProcess> target_;
  std::optional<ChildProcess> cli_;
};

}  // namespace vantrel::testing
