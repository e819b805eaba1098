#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
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
    port = StartAnotherTarget("flash.bin", std::move(options));
    return !port.empty();
  }

  // Starts one more target, whose flash goes to dumpName; returns the port vantrel-cli opens to
  // reach it, empty if none. The first target's pseudo-terminal is `pty`.
  std::string StartAnotherTarget(const std::string& dumpName, std::vector<std::string> options) {
    std::vector<std::string> argv = {kBin + "/vantrel-target", "--jobs", "1", "--quiet", "--dump",
                                     home.PathOf(dumpName)};
    argv.insert(argv.end(), options.begin(), options.end());
    targets_.push_back(std::make_unique<ChildProcess>(argv));
    const auto line = targets_.back()->ReadLine(5000);
    if (!line || line->empty()) return {};
    if (pty.empty()) pty = *line;
    ports_.push_back(std::make_unique<CliPort>(*line));
    return ports_.back()->name();
  }

  // The user program goes into a folder and file with Japanese names: they must reach the
  // system intact (under Wine as UTF-16, whatever the locale).
  std::string WriteProgram() { return home.Write(kProgramName, program.Text()); }

  // The arguments of a job on this home, port and CPU type.
  std::vector<std::string> CliArgs(const std::string& cpu, std::vector<std::string> extra = {}) {
    return CliCommand(JobArgs({port}, cpu, std::move(extra)));
  }

  // Writes the program and runs vantrel-cli on the port; returns its exit code.
  std::optional<int> RunCli(const std::string& cpu, std::vector<std::string> extra = {},
                            int timeoutMs = 60000) {
    return RunCliOn({port}, cpu, std::move(extra), timeoutMs);
  }

  // The same with one --port for each of the ports.
  std::optional<int> RunCliOn(const std::vector<std::string>& ports, const std::string& cpu,
                              std::vector<std::string> extra = {}, int timeoutMs = 60000) {
    WriteProgram();
    return RunCliWith(JobArgs(ports, cpu, std::move(extra)), timeoutMs);
  }

  // Runs vantrel-cli with exactly these arguments after the program name.
  std::optional<int> RunCliWith(const std::vector<std::string>& args, int timeoutMs = 60000) {
    cli_.emplace(CliCommand(args));
    const auto code = cli_->Wait(timeoutMs);
    cliErr = CliText(cli_->err());
    cliOut = CliText(cli_->out());
    return code;
  }

  // Waits for the targets to finish their jobs and write their dumps.
  void WaitForTarget() {
    for (auto& target : targets_) {
      if (!target->Wait(5000)) target->Signal(SIGTERM);
      target->Wait(5000);
    }
  }

  // The flash must hold exactly the program: every other byte erased.
  void ExpectFlashHoldsProgram(std::uint32_t flashBase, const std::string& dumpName = "flash.bin") {
    WaitForTarget();
    const std::string dump = home.Read(dumpName);
    ASSERT_FALSE(dump.empty()) << dumpName;
    std::string expected(dump.size(), '\xFF');
    for (const auto& [address, value] : program.image()) {
      ASSERT_GE(address, flashBase);
      ASSERT_LT(address - flashBase, dump.size());
      expected[address - flashBase] = static_cast<char>(value);
    }
    EXPECT_TRUE(dump == expected) << dumpName << ": the flash differs from the program";
  }

  TempFolder home;
  SrecWriter program;
  std::string pty;   // the target's pseudo-terminal
  std::string port;  // what vantrel-cli is told to open
  std::string cliErr;
  std::string cliOut;

 private:
  static constexpr const char* kProgramName = "ユーザー/書込み.mot";

  std::vector<std::string> JobArgs(const std::vector<std::string>& ports, const std::string& cpu,
                                   std::vector<std::string> extra) {
    std::vector<std::string> args = {"--home", CliPath(home.path()), "--cpu", cpu};
    for (const auto& p : ports) args.insert(args.end(), {"--port", p});
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(CliPath(home.PathOf(kProgramName)));
    return args;
  }

  std::string baudIni_;
  std::vector<std::unique_ptr<ChildProcess>> targets_;
  std::vector<std::unique_ptr<CliPort>> ports_;
  std::optional<ChildProcess> cli_;
};

}  // namespace vantrel::testing
