#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "e2e/e2e_job.h"
#include "support/lines.h"

namespace vantrel::testing {
namespace {

// Waits until the process has said the text `times` times on stderr.
bool SaidTimes(ChildProcess& process, const std::string& text, int times, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const std::string& err = process.err();
    int n = 0;
    for (auto at = err.find(text); at != std::string::npos; at = err.find(text, at + 1)) ++n;
    if (n >= times) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// What python's json module reads in the log: its lines, their results, whether each names the
// host, and the serial numbers.
std::string ReadLog(const std::string& path) {
  ChildProcess check({"/usr/bin/env", "python3", "-c",
                      "import json,sys; rows=[json.loads(l) for l in open(sys.argv[1],"
                      "encoding='utf-8')]; print(len(rows), sorted({r['result'] for r in rows}),"
                      " all(r['hostName'] for r in rows), [r['serialNumber'] for r in rows])",
                      path});
  return check.Wait(10000) == 0 ? check.out() : "not JSON lines: " + check.err();
}

TEST(Station, BoardAfterBoardOnOnePortEachUnpluggedThenCtrlCAndAKillKeepTheLog) {
  if (kUnderWine) {
    GTEST_SKIP() << "Wine's GetDefaultCommConfigA fails for every COM port of the prefix, there "
                    "or not (ERROR_BADKEY), so a port never comes back under Wine";
  }
  E2eJob job;
  job.CpuType("CLS.mot", 128, "0");
  job.program.Fill(0, 300, 41);
  const std::string link = job.home.PathOf("board");
  const std::vector<std::string> board = {"--erase-ms", "100", "--prog-baud", "38400",
                                          "--link",     link,  "--replug",    "600"};
  // The last --jobs counts: three boards, then the target ends and its port stays away.
  auto options = board;
  options.insert(options.end(), {"--jobs", "3"});
  ASSERT_FALSE(job.StartAnotherTarget("flash.bin", options).empty());
  const CliPort port(link);
  job.port = port.name();
  job.WriteProgram();
  const std::string log = job.home.PathOf("station.jsonl");
  const auto args = job.CliArgs(
      "CLS.mot", {"--verify", "--repeat", "--log", CliPath(log), "--serial", "0x2000:1000"});

  ChildProcess station(args);
  for (int n = 1; n <= 3; ++n) {
    const auto line = station.ReadLine(20000);
    ASSERT_TRUE(line) << station.err();
    EXPECT_TRUE(line->starts_with("board " + std::to_string(n) + "  verified  serial " +
                                  std::to_string(999 + n) + "  passed " + std::to_string(n) +
                                  "  failed 0  "))
        << *line;
  }
  ASSERT_TRUE(SaidTimes(station, "waiting for the next board", 3, 10000)) << station.err();
  station.Signal(SIGINT);
  EXPECT_EQ(station.Wait(10000), 0) << station.err();
  const auto last = station.ReadLine(1000);
  EXPECT_TRUE(last && last->starts_with("stopped after 3 boards  passed 3  failed 0  "))
      << station.out();
  EXPECT_EQ(ReadLog(log), "3 ['verified'] True [1000, 1001, 1002]\n");
  job.WaitForTarget();
  for (int n = 1; n <= 3; ++n) {
    // Each board has its own number (le32); everything else is the program.
    const std::string name = "flash-" + std::to_string(n) + ".bin";
    std::string dump = job.home.Read(name);
    ASSERT_GE(dump.size(), 0x2004u) << name;
    EXPECT_EQ(dump.substr(0x2000, 4), std::string({char(0xE7 + n), 0x03, 0, 0})) << name;
    job.home.Write(name, dump.replace(0x2000, 4, 4, '\xFF'));
    job.ExpectFlashHoldsProgram(0, name);
  }

  // A station killed while it waits has logged every board it finished, after the lines
  // already there.
  ASSERT_FALSE(job.StartAnotherTarget("again.bin", board).empty());
  ChildProcess killed(args);
  ASSERT_TRUE(SaidTimes(killed, "waiting for the next board", 1, 20000)) << killed.err();
  killed.Signal(SIGKILL);
  EXPECT_EQ(killed.Wait(10000), 128 + SIGKILL);
  // Without a serial file a new run starts at the first number again.
  EXPECT_EQ(ReadLog(log), "4 ['verified'] True [1000, 1001, 1002, 1000]\n");
}

}  // namespace
}  // namespace vantrel::testing
