#include <gtest/gtest.h>

#include <memory>

#include "cli/board/board_job.h"
#include "e2e/e2e_job.h"
#include "support/lines.h"

namespace vantrel::testing {
namespace {

// The summary row of a port.
std::string RowOf(const std::string& summary, const std::string& port) {
  for (const auto& line : Lines(summary)) {
    if (line.starts_with(port + " ")) return line;
  }
  return {};
}

// The SHA-256 the report must give for the program: its blocks as block writing sends them.
std::string ProgramSha256(const SrecWriter& program, std::uint16_t blockSize) {
  auto image = std::make_unique<ProgramImage>();
  image->memory.bytes.fill(0xFF);
  image->blocks.flags.fill(0);
  for (const auto& [address, value] : program.image()) {
    image->memory.bytes[address] = value;
    image->blocks.flags[address / blockSize] = 1;
  }
  return cli::WrittenDataSha256(*image, blockSize);
}

TEST(Gang, FourBoardsAtOnceAndTheFaultyOneDisturbsNoOther) {
  E2eJob job;
  job.CpuType("CLS.mot", 128, "0");
  job.program.Fill(0, 3000, 31).Fill(0x4000, 500, 32);
  const std::vector<std::string> common = {"--erase-ms", "300", "--prog-baud", "38400", "--pacing"};
  std::vector<std::string> ports;
  for (int i = 0; i < 4; ++i) {
    auto options = common;
    if (i == 2) options.insert(options.end(), {"--fault-block-nak", "3"});
    ports.push_back(job.StartAnotherTarget("flash" + std::to_string(i) + ".bin", options));
    ASSERT_FALSE(ports.back().empty());
  }
  const std::string report = job.home.PathOf("report.json");
  EXPECT_EQ(job.RunCliOn(ports, "CLS.mot", {"--verify", "--report", CliPath(report)}), 1)
      << job.cliErr;

  EXPECT_NE(job.cliErr.find(ports[2] + ": 　書き込み異常　Ans=15H　\n"), std::string::npos)
      << job.cliErr;
  for (int i = 0; i < 4; ++i) {
    const std::string row = RowOf(job.cliOut, ports[i]);
    EXPECT_NE(row.find(i == 2 ? " failed " : " verified "), std::string::npos) << job.cliOut;
    if (i == 2) {
      EXPECT_TRUE(row.ends_with("  書き込み異常　Ans=15H")) << row;
    }
    if (i == 2) continue;
    EXPECT_NE(job.cliErr.find(ports[i] + ":  ユーザープログラム・書き込み＆ベリファイ完了 \n"),
              std::string::npos)
        << job.cliErr;
    job.ExpectFlashHoldsProgram(0, "flash" + std::to_string(i) + ".bin");
  }
  const std::string json = job.home.Read("report.json");
  const auto lines = Lines(json);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "  {"), 4) << json;
  EXPECT_NE(json.find("\"message\": \"書き込み異常　Ans=15H\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"sha256\": null"), std::string::npos) << "not all was written" << json;
}

TEST(Gang, EachBoardWritesItsOwnCpuReport) {
  E2eJob job;
  job.CpuType("INQ.inf", 128, "0");
  job.BootDefinition("INQ.inf", "VTR-100", 0);
  job.program.Fill(0, 300, 33);
  const std::string a = job.StartAnotherTarget("a.bin", {"--protocol", "inquiry"});
  // Two boards of one kind: each report goes to a file of its own, none over another.
  const std::string b =
      job.StartAnotherTarget("b.bin", {"--protocol", "inquiry", "--erase-ms", "100"});
  ASSERT_FALSE(a.empty() || b.empty());
  EXPECT_EQ(job.RunCliOn({a, b}, "INQ.inf", {"--cpu-report"}), 0) << job.cliErr;
  const auto names = cli::CpuInfoFileNames({a, b});
  ASSERT_NE(names[0], names[1]);
  for (const auto& name : names) {
    EXPECT_NE(job.home.Read(name).find("InfDeviceName = \"VTR-100\"\r\n"), std::string::npos)
        << name;
  }
  EXPECT_TRUE(job.home.Read("CpuInf.txt").empty());
}

TEST(Trace, EveryByteBothWaysWithTimeRateAndStep) {
  E2eJob job;
  job.CpuType("CLS.mot", 128, "0");
  job.program.Fill(0, 200, 34);
  ASSERT_TRUE(job.StartTarget({"--erase-ms", "100", "--prog-baud", "38400"}));
  const std::string trace = job.home.PathOf("trace.txt");
  EXPECT_EQ(job.RunCli("CLS.mot", {"--trace", CliPath(trace)}), 0) << job.cliErr;
  const auto lines = Lines(job.home.Read("trace.txt"));
  ASSERT_GE(lines.size(), 8u);
  // The adjustment's zero bytes, the target's answer, then the handshake.
  EXPECT_TRUE(lines[0].ends_with("9600 baud  step   2 adjust   > 00 00 00")) << lines[0];
  EXPECT_TRUE(lines[1].ends_with("9600 baud  step   2 adjust   < 00")) << lines[1];
  EXPECT_TRUE(lines[2].ends_with("9600 baud  step   2 adjust   > 00 55")) << lines[2];
  EXPECT_TRUE(lines[3].ends_with("9600 baud  step   2 adjust   < AA")) << lines[3];
  // Two blocks at the programming rate, each answered, then the end-of-job byte.
  int blocks = 0;
  for (const auto& line : lines) {
    blocks += line.find("38400 baud  step   9 write    > 55 ") != std::string::npos;
  }
  EXPECT_EQ(blocks, 2);
  EXPECT_TRUE(lines.back().ends_with("38400 baud  step  10 verify   > FF")) << lines.back();
  for (const auto& line : lines) EXPECT_NE(line.find(" ms  "), std::string::npos) << line;
}

TEST(Report, OneRecordWithTheHashOfTheDataWritten) {
  E2eJob job;
  job.CpuType("CLS.mot", 256, "0");
  job.program.Fill(0, 700, 35).Fill(0x1000, 10, 36);
  ASSERT_TRUE(
      job.StartTarget({"--erase-ms", "100", "--prog-baud", "38400", "--block-size", "256"}));
  EXPECT_EQ(job.RunCli("CLS.mot", {"--verify", "--report", CliPath(job.home.PathOf("r.json"))}), 0)
      << job.cliErr;
  const std::string json = job.home.Read("r.json");
  ChildProcess check({"/usr/bin/env", "python3", "-c",
                      "import json,sys; r=json.load(open(sys.argv[1])); print(len(r), "
                      "r[0]['result'], r[0]['exitCode'], r[0]['bytesSent'] > 0, r[0]['sha256'])",
                      job.home.PathOf("r.json")});
  ASSERT_EQ(check.Wait(10000), 0) << check.err() << json;
  EXPECT_EQ(check.out(), "1 verified 0 True " + ProgramSha256(job.program, 256) + "\n") << json;
  EXPECT_NE(json.find("\"port\": \"" + job.port + "\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"cpuType\": \"CLS.mot\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"startTime\": \"20"), std::string::npos) << json;
}

TEST(Report, AFolderThatIsNotThereIsRefusedBeforeAnyJob) {
  E2eJob job;
  job.CpuType("CLS.mot", 128, "0");
  job.program.Fill(0, 10, 37);
  job.port = CliPort::Missing(job.home.path());
  EXPECT_EQ(job.RunCli("CLS.mot", {"--report", CliPath(job.home.PathOf("none/r.json"))}), 64);
  EXPECT_EQ(Lines(job.cliErr).size(), 1u) << job.cliErr;
}

TEST(ListPorts, AHeaderAndOneWellFormedLinePerPortWithoutOpeningAny) {
  ChildProcess cli(CliCommand({"--list-ports"}));
  ASSERT_EQ(cli.Wait(10000), 0) << cli.err();
  const auto lines = Lines(CliText(cli.out()));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "port\tdevice\tdriver\tvendor\tproduct-id\tmanufacturer\tproduct\tserial");
  for (const auto& line : lines) EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 7) << line;
  EXPECT_TRUE(cli.err().empty()) << cli.err();
}

}  // namespace
}  // namespace vantrel::testing
