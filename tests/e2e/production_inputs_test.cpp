#include <gtest/gtest.h>

#include <csignal>

#include "e2e/e2e_job.h"
#include "platform/file_access.h"
#include "support/srecord_builder.h"

namespace vantrel::testing {
namespace {

constexpr const char* kCpu = "VTC-100.mot";

// The classic CPU type as shipped, whose ROM window starts at 0.
void ShippedCpuType(E2eJob& job) {
  std::string text;
  ASSERT_TRUE(platform::ReadWholeFile(kSource + "/examples/CTRL_MOT/VTC-100.mot", text));
  job.home.Write("CTRL_MOT/VTC-100.mot", text);
  job.CpuType(kCpu, 128, "0");
}

std::vector<std::string> Args(E2eJob& job, std::vector<std::string> extra) {
  std::vector<std::string> all = {"--home", CliPath(job.home.path()), "--cpu", kCpu, "--port",
                                  job.port};
  all.insert(all.end(), extra.begin(), extra.end());
  return all;
}

// The program with a number below 65536 at 0x100, le32.
SrecWriter Numbered(const SrecWriter& program, unsigned n) {
  return SrecWriter(program).Data(0x100, {std::uint8_t(n & 0xFF), std::uint8_t(n >> 8), 0, 0});
}

TEST(ProductionInputs, EachBoardItsOwnSerialNumberAndTheSerialFileGoesOn) {
  E2eJob job;
  ShippedCpuType(job);
  const SrecWriter program = job.program.Fill(0, 600, 41);
  std::vector<std::string> ports;
  for (int i = 0; i < 3; ++i) {
    ports.push_back(job.StartAnotherTarget("flash" + std::to_string(i), {"--erase-ms", "100"}));
  }
  const std::string serial = CliPath(job.home.PathOf("serial.txt"));
  const std::string report = job.home.PathOf("r.json");
  // Over the program's bytes only when asked for; refused before any board is touched.
  EXPECT_EQ(job.RunCliOn(ports, kCpu, {"--serial", "0x100:1000", "--serial-file", serial}), 64);
  EXPECT_NE(job.cliErr.find("puts its 4 bytes at 0x00000100 over the program: "), std::string::npos)
      << job.cliErr;
  EXPECT_EQ(job.RunCliOn(ports, kCpu,
                         {"--verify", "--serial", "0x100:1000", "--serial-file", serial,
                          "--serial-over-program", "--report", CliPath(report)}),
            0)
      << job.cliErr;
  ChildProcess check({"/usr/bin/env", "python3", "-c",
                      "import hashlib,json,sys; r=json.load(open(sys.argv[1])); i=r[2]['inputs']; "
                      "print([b['serialNumber'] for b in r], [r[2]['userProgram']] == [f['path'] "
                      "for f in i], hashlib.sha256(open(sys.argv[2],'rb').read()).hexdigest() == "
                      "i[0]['sha256'])",
                      report, job.WriteProgram()});
  ASSERT_EQ(check.Wait(10000), 0) << check.err();
  EXPECT_EQ(check.out(), "[1000, 1001, 1002] True True\n") << job.home.Read("r.json");
  for (unsigned i = 0; i < 3; ++i) {
    job.program = Numbered(program, 1000 + i);
    job.ExpectFlashHoldsProgram(0, "flash" + std::to_string(i));
  }
  EXPECT_EQ(job.home.Read("serial.txt"), "1003\n");

  // The next run takes its number from the file, whatever FIRST says.
  const std::string next = job.StartAnotherTarget("next", {"--erase-ms", "100"});
  job.program = program;
  // A second copy of a record with a checksum of the other kind: taken, and said.
  std::string mixed = program.Text();
  mixed.insert(mixed.find('\n') + 1, MakeRecord('3', 0, {program.image().at(0)}, true) + "\n");
  job.port = next;
  EXPECT_EQ(job.RunCliWith(
                Args(job, {"--serial", "0x100:1", "--serial-file", serial, "--serial-over-program",
                           "--report", "-", CliPath(job.home.Write("mixed.mot", mixed))})),
            0)
      << job.cliErr;
  EXPECT_NE(job.cliErr.find("line 2 is the first record that sums to 0x00"), std::string::npos)
      << job.cliErr;
  EXPECT_NE(job.cliOut.find(R"("mixedChecksums": {"line": 2}}])"), std::string::npos) << job.cliOut;
  job.program = Numbered(program, 1003);
  job.ExpectFlashHoldsProgram(0, "next");
  EXPECT_EQ(job.home.Read("serial.txt"), "1004\n");
}

TEST(ProductionInputs, EveryKindOfFileGivesTheSameFlash) {
  E2eJob job;
  ShippedCpuType(job);
  SrecWriter app;
  app.Fill(0x2000, 700, 44);
  const std::string mot = job.home.Write("app.mot", app.Text());
  std::string binary(700, '\0');
  for (const auto& [address, value] : app.image()) binary[address - 0x2000] = char(value);
  job.home.Write("app.bin", binary);
  job.home.Write("boot.mot", SrecWriter().Fill(0, 300, 43).Text());
  ChildProcess objcopy(
      {"/usr/bin/objcopy", "-I", "srec", "-O", "ihex", mot, job.home.PathOf("app.hex")});
  const bool hex = objcopy.Wait(10000) == 0;
  // Intel HEX last: without objcopy its row skips the rest.
  const std::vector<std::vector<std::string>> rows = {
      {"app.mot"}, {"app.bin@0x2000"}, {"boot.mot", "app.mot"}, {"app.hex"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.front());
    if (row.front() == "app.hex" && !hex) GTEST_SKIP() << "no objcopy to make Intel HEX with";
    std::vector<std::string> files;
    for (const auto& name : row) files.push_back(CliPath(job.home.PathOf(name)));
    job.port =
        job.StartAnotherTarget(row.back() + std::to_string(row.size()), {"--erase-ms", "100"});
    EXPECT_EQ(job.RunCliWith(Args(job, files)), 0) << job.cliErr;
    job.program = row.size() == 2 ? SrecWriter(app).Fill(0, 300, 43) : app;
    job.ExpectFlashHoldsProgram(0, row.back() + std::to_string(row.size()));
  }
}

TEST(ProductionInputs, AKilledRunLeavesTheSerialFileAtANumberNoBoardGot) {
  if (kUnderWine) GTEST_SKIP() << "SIGKILL ends Wine's starter, not the Windows program";
  E2eJob job;
  ShippedCpuType(job);
  job.program.Fill(0, 4000, 45);
  // At the line's own pace, the writing takes seconds.
  ASSERT_TRUE(job.StartTarget({"--erase-ms", "100", "--pacing", "--prog-baud", "9600"}));
  const std::string serial = job.home.PathOf("serial.txt");
  // The killed run cannot remove its temporary folder: it is left in the home, which goes.
  auto argv =
      CliCommand(Args(job, {"--baud-prog", "9600", "--serial", "0x100:1000",
                            "--serial-over-program", "--serial-file", serial, job.WriteProgram()}));
  argv.insert(argv.begin(), {"/usr/bin/env", "TMPDIR=" + job.home.path()});
  ChildProcess cli(argv);
  for (int i = 0; i < 1000 && cli.err().find("書き込み中") == std::string::npos; ++i) cli.Wait(20);
  ASSERT_NE(cli.err().find("書き込み中"), std::string::npos) << cli.err();
  cli.Signal(SIGKILL);
  EXPECT_EQ(cli.Wait(5000), 128 + SIGKILL);
  EXPECT_EQ(job.home.Read("serial.txt"), "1001\n");
  job.WaitForTarget();
  const std::string at = job.home.Read("flash.bin").substr(0x100, 4);
  EXPECT_TRUE(at == std::string("\xE8\x03\0\0", 4) || at == "\xFF\xFF\xFF\xFF")
      << "only 1000, or nothing yet";
}

}  // namespace
}  // namespace vantrel::testing
