#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/e2e_job.h"
#include "support/simulated_board.h"

namespace vantrel::testing {
namespace {

// Every fault vantrel-target can show, in both protocols and at every phase it applies to, with
// what vantrel-cli must make of it. All rows verify, so an exit code 0 must mean a flash that
// holds the program. Every row runs in this process on a fake clock, where its time-outs cost
// nothing and are exact; the rows named in kOnTheLine also run as processes on a real
// pseudo-terminal and real time.

enum class Boot { Classic, Inquiry };

using Clock = std::chrono::steady_clock;

struct FaultRow {
  std::string name;
  Boot boot;
  std::vector<std::string> faults;
  int exitCode;
  std::string message;  // a whole line of stderr
  // What the job waits out on this fault: the time-outs that run out, or a stall it rides out.
  int waitMs;
  bool hangsUp = false;     // the target drops the line itself
  int messageTimes = 1;     // "Error Response " is shown at once and again as the failure
  std::string before = {};  // a line printed before the message
};

// Process starts, the erase (100 ms) and a whole clean job fit in this.
constexpr int kMarginMs = 2500;
// On the fake clock only the job's own waits add to a row's: the paced bit-rate adjustment and
// the 100 ms erase.
constexpr std::uint32_t kFakeMarginMs = 250;

// Rows that also run on real time: whole jobs, a stall ridden out, time-outs of the block answer
// and of a read, and the line dropped by the target.
const std::vector<std::string> kOnTheLine = {"ClassicClean",
                                             "InquiryClean",
                                             "ClassicEraseAnswerSlowButInTime",
                                             "ClassicBlockUnanswered",
                                             "ClassicHangUpMidJob",
                                             "InquiryHangUpMidJob",
                                             "InquiryReadAnswerStalled"};

const std::string kNoSync = " ビットレートの調整が出来ませんでした ";
const std::string kTransfer = "　書き込み制御 MOTの転送失敗　";
const std::string kAnsTimeUp = kTransfer + "Ans 0xaa TimeUp  ";
const std::string kEchoTimeUp = kTransfer + "Data Echo TimeUp  ";
const std::string kWriteNak = "　書き込み異常　Ans=15H　";
const std::string kWriteSilent = "　書き込み異常　Ans=FFFFFFFFH　";
const std::string kVerified = " ユーザープログラム・書き込み＆ベリファイ完了 ";
const std::string kNoVerifyAnswer = " ベリファイに応答しませんが、書き込みは完了しています ";
const std::string kVerifyTimeUp = "ベリファイ・タイムアウト";
const std::string kMismatch = "ベリファイ不一致";
const std::string kCpuComm = " ＣＰＵとの通信が失敗しました ";
const std::string kNewRate = " 新ボーレートに設定できませんでした ";
const std::string kReadComm = " ベリファイ通信異常 ";

// Answer bytes of a job on the target, counted as --fault-drop, --fault-cut and --fault-stall
// count them (1 is the sync answer, 2 the handshake answer). Classic: a 64-byte write-control
// program and ten blocks of 128 bytes.
constexpr int kClassicEcho = 5;    // first echoed program byte, after the two length bytes
constexpr int kClassicErase = 69;  // the erase answer
constexpr int kClassicBlock2 = 71;
constexpr int kClassicVerify1 = 80;  // three address bytes, then 128 data bytes
// Inquiry, on the sample device: eight inquiry answers with their selections, then the rest.
constexpr int kDevices = 3;        // 28 bytes
constexpr int kDeviceAck = 31;     // after 0x10
constexpr int kClockModeAck = 38;  // after 0x11
constexpr int kEraseBlocks = 88;   // the answer with a two-byte size, 69 bytes
constexpr int kBitRateAck = 162;   // after 0x3F, at the old rate
constexpr int kEraseAnswer = 164;
constexpr int kMatAck = 165;
constexpr int kBlockAck2 = 167;
constexpr int kEndAck = 176;  // the end-of-programming frame's answer
constexpr int kRead1 = 177;   // 0x52, four length bytes, 128 data bytes, checksum

std::string N(int n) {
  return std::to_string(n);
}
std::string Stall(int byte, int ms) {
  return N(byte) + "," + N(ms);
}

std::vector<FaultRow> Rows() {
  using B = Boot;
  // clang-format off
  std::vector<FaultRow> rows = {
      {"ClassicClean", B::Classic, {}, 0, kVerified, 0},
      {"ClassicNoSync", B::Classic, {"--fault-no-sync"}, 1, kNoSync, 500},
      {"ClassicSyncAnswerStalled", B::Classic, {"--fault-stall", Stall(1, 1500)}, 1, kNoSync, 500},
      {"ClassicWrongHandshake", B::Classic, {"--fault-handshake", "0xE6"}, 1, kNoSync, 1000},
      {"ClassicHandshakeLost", B::Classic, {"--fault-drop", "2"}, 1, kNoSync, 1000},
      {"ClassicHandshakeStalled", B::Classic, {"--fault-stall", Stall(2, 2000)}, 1, kNoSync, 1000},
      {"ClassicNoiseBeforeTheSync", B::Classic, {"--fault-noise", "0x13,0xFF,0x7F"}, 0, kVerified, 0},
      {"ClassicZerosBeforeTheSync", B::Classic, {"--fault-noise", "0x00,0x00"}, 0, kVerified, 0},
      {"ClassicLengthHighEchoLost", B::Classic, {"--fault-drop", "3"}, 1, kTransfer + "AddrH Echo Error  ", 500},
      {"ClassicLengthLowEchoLost", B::Classic, {"--fault-drop", "4"}, 1, kTransfer + "AddrL Echo Error  ", 500},
      {"ClassicProgramEchoDropped", B::Classic, {"--fault-drop-echo", "10"}, 1, kEchoTimeUp, 500},
      {"ClassicProgramEchoCorrupted", B::Classic, {"--fault-corrupt-echo", "10"}, 1, kEchoTimeUp, 500},
      {"ClassicProgramEchoStalled", B::Classic, {"--fault-stall", Stall(kClassicEcho + 20, 1000)}, 1, kEchoTimeUp, 500},
      {"ClassicEraseAnswerWrong", B::Classic, {"--fault-erase-answer", "0x55"}, 1, kTransfer + "Ans != 0xaa      ", 0},
      {"ClassicEraseAnswerMissing", B::Classic, {"--fault-erase-answer", "none"}, 1, kAnsTimeUp, 30000},
      {"ClassicEraseAnswerLate", B::Classic, {"--fault-stall", Stall(kClassicErase, 31000)}, 1, kAnsTimeUp, 30000},
      {"ClassicEraseAnswerSlowButInTime", B::Classic, {"--fault-stall", Stall(kClassicErase, 1500)}, 0, kVerified, 1500},
      {"ClassicBlockRefused", B::Classic, {"--fault-block-nak", "2"}, 1, kWriteNak, 0},
      {"ClassicBlockUnanswered", B::Classic, {"--fault-block-silent", "2"}, 1, kWriteSilent, 1000},
      {"ClassicBlockAnswerLost", B::Classic, {"--fault-drop", N(kClassicBlock2)}, 1, kWriteSilent, 1000},
      {"ClassicBlockAnswerStalled", B::Classic, {"--fault-stall", Stall(kClassicBlock2, 1500)}, 1, kWriteSilent, 1000},
      {"ClassicHangUpMidJob", B::Classic, {"--fault-hang-up", "4"}, 1, kWriteSilent, 0, true},
      {"ClassicVerifyAddressWrong", B::Classic, {"--fault-verify-address", "2"}, 2, " アドレス返信異常 ", 0},
      {"ClassicVerifyEchoByteLost", B::Classic, {"--fault-drop", N(kClassicVerify1 + 1)}, 2, " アドレス返信異常 ", 0},
      {"ClassicVerifyAnswerLost", B::Classic, {"--fault-cut", N(kClassicVerify1)}, 2, kNoVerifyAnswer, 2000},
      {"ClassicVerifyEchoStalled", B::Classic, {"--fault-stall", Stall(kClassicVerify1, 2500)}, 2, kNoVerifyAnswer, 2000},
      {"ClassicVerifyNoData", B::Classic, {"--fault-verify-no-data", "2"}, 2, kVerifyTimeUp, 2000},
      {"ClassicVerifyDataByteLost", B::Classic, {"--fault-drop", N(kClassicVerify1 + 20)}, 2, kVerifyTimeUp, 2000},
      {"ClassicVerifyAnswerCutShort", B::Classic, {"--fault-cut", N(kClassicVerify1 + 20)}, 2, kVerifyTimeUp, 2000},
      {"ClassicVerifyDataStalled", B::Classic, {"--fault-stall", Stall(kClassicVerify1 + 3, 2500)}, 2, kVerifyTimeUp, 2000},
      {"ClassicVerifyDataFlipped", B::Classic, {"--fault-verify-data", "3"}, 2, kMismatch, 0},

      {"InquiryClean", B::Inquiry, {}, 0, kVerified, 0},
      {"InquiryNoSync", B::Inquiry, {"--fault-no-sync"}, 1, kNoSync, 500},
      {"InquiryWrongHandshake", B::Inquiry, {"--fault-handshake", "0xAA"}, 1, kNoSync, 1000},
      {"InquiryNoiseBeforeTheSync", B::Inquiry, {"--fault-noise", "0x13,0xFF,0x7F"}, 0, kVerified, 0},
      {"InquiryZerosBeforeTheSync", B::Inquiry, {"--fault-noise", "0x00,0x00"}, 0, kVerified, 0},
      {"InquiryDeviceAnswerByteLost", B::Inquiry, {"--fault-drop", N(kDevices + 7)}, 1, kCpuComm, 1000},
      {"InquiryDeviceAnswerCutShort", B::Inquiry, {"--fault-cut", N(kDevices + 7)}, 1, kCpuComm, 1000},
      {"InquiryDeviceAnswerStalled", B::Inquiry, {"--fault-stall", Stall(kDevices, 1500)}, 1, kCpuComm, 1000},
      {"InquiryEraseBlocksByteLost", B::Inquiry, {"--fault-drop", N(kEraseBlocks + 40)}, 1, kCpuComm, 1000},
      {"InquirySixtyFiveDevices", B::Inquiry, {"--fault-65-devices"}, 1, kCpuComm, 0},
      {"InquirySeventyClockModes", B::Inquiry, {"--fault-70-clock-modes"}, 0, kVerified, 0},
      {"InquiryDeviceAckStalled", B::Inquiry, {"--fault-stall", Stall(kDeviceAck, 1000)}, 1, kCpuComm, 500},
      {"InquiryClockModeAckLost", B::Inquiry, {"--fault-drop", N(kClockModeAck)}, 1, kCpuComm, 500},
      {"InquiryBitRateRefused", B::Inquiry, {"--fault-bit-rate-nak"}, 1, kNewRate, 0},
      {"InquiryBitRateAckStalled", B::Inquiry, {"--fault-stall", Stall(kBitRateAck, 1500)}, 1, kCpuComm, 1000},
      {"InquirySilentAtTheNewRate", B::Inquiry, {"--fault-silent-new-rate"}, 1, kCpuComm, 500},
      {"InquiryEraseAnswerWrong", B::Inquiry, {"--fault-erase-answer", "0x55"}, 1, "Error Response ", 0, false, 2},
      {"InquiryEraseAnswerBusy", B::Inquiry, {"--fault-erase-answer", "0x16"}, 1, "Ans TimeUp", 30000},
      {"InquiryEraseAnswerAlternative", B::Inquiry, {"--fault-erase-answer", "0x26"}, 0, kVerified, 0},
      {"InquiryEraseAnswerMissing", B::Inquiry, {"--fault-erase-answer", "none"}, 1, "Ans TimeUp", 30000},
      {"InquiryEraseAnswerLate", B::Inquiry, {"--fault-stall", Stall(kEraseAnswer, 31000)}, 1, "Ans TimeUp", 30000},
      {"InquiryMatRefused", B::Inquiry, {"--fault-mat-nak"}, 1, kCpuComm, 0},
      {"InquiryMatAckStalled", B::Inquiry, {"--fault-stall", Stall(kMatAck, 1000)}, 1, kCpuComm, 500},
      {"InquiryBlockRefused", B::Inquiry, {"--fault-block-nak", "2"}, 1, kWriteNak, 0},
      {"InquiryBlockAckLost", B::Inquiry, {"--fault-drop", N(kBlockAck2)}, 1, kWriteSilent, 1000},
      {"InquiryBlockAckStalled", B::Inquiry, {"--fault-stall", Stall(kBlockAck2, 1500)}, 1, kWriteSilent, 1000},
      {"InquiryEndOfProgrammingAckLost", B::Inquiry, {"--fault-drop", N(kEndAck)}, 1, kWriteSilent, 500},
      {"InquiryHangUpMidJob", B::Inquiry, {"--fault-hang-up", "3"}, 1, kWriteSilent, 0, true},
      {"InquiryReadLengthWrong", B::Inquiry, {"--fault-read-length", "2"}, 2, kReadComm, 0, false, 1, "4"},
      {"InquiryReadChecksumWrong", B::Inquiry, {"--fault-read-checksum", "2"}, 2, kReadComm, 0},
      {"InquiryReadDataByteLost", B::Inquiry, {"--fault-drop", N(kRead1 + 30)}, 2, kReadComm, 2000},
      {"InquiryReadAnswerCutShort", B::Inquiry, {"--fault-cut", N(kRead1 + 30)}, 2, kReadComm, 2000},
      {"InquiryReadAnswerStalled", B::Inquiry, {"--fault-stall", Stall(kRead1, 2500)}, 2, kReadComm, 2000},
      {"InquiryReadDataFlipped", B::Inquiry, {"--fault-read-data", "2"}, 2, kMismatch, 0},
  };
  // clang-format on
  // Each inquiry answered with a wrong code, then with a wrong checksum.
  for (const char* kind : {"code", "checksum"}) {
    for (int command = 0x20; command <= 0x27; ++command) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "%02X", command);
      rows.push_back(
          {std::string("InquiryAnswer") + hex + (kind[1] == 'o' ? "WrongCode" : "WrongChecksum"),
           B::Inquiry,
           {std::string("--fault-inquiry-") + kind, std::string("0x") + hex},
           1,
           kCpuComm,
           0});
    }
  }
  return rows;
}

// What the row's failed verification saw, as the report says it.
std::string VerifyFailureOf(const FaultRow& r) {
  if (r.exitCode != 2) return "";
  if (r.message == kMismatch || r.message == " アドレス返信異常 ") {
    return r.message == kMismatch ? "mismatch" : "address";
  }
  if (r.name == "InquiryReadLengthWrong") return "header";
  return r.name == "InquiryReadChecksumWrong" ? "checksum" : "timeout";
}

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const FaultRow& row, std::ostream* out) {
  *out << row.name;
}

std::vector<FaultRow> RowsOnTheLine() {
  std::vector<FaultRow> rows = Rows();
  std::erase_if(rows, [](const FaultRow& r) {
    return std::find(kOnTheLine.begin(), kOnTheLine.end(), r.name) == kOnTheLine.end();
  });
  return rows;
}

// The row's CPU type in the job's home, and the options of its target.
std::string Prepare(const FaultRow& r, E2eJob& job, std::vector<std::string>& targetArgs) {
  job.program.Fill(0, 1200, 4);  // ten blocks
  targetArgs.insert(targetArgs.end(), {"--erase-ms", "100"});
  const std::string cpu = r.boot == Boot::Classic ? "CLS.mot" : "INQ.inf";
  job.CpuType(cpu, 128, "0");
  if (r.boot == Boot::Classic) {
    targetArgs.insert(targetArgs.end(), {"--prog-baud", "38400"});
  } else {
    job.BootDefinition(cpu, "VTR-100", 0);
    targetArgs.insert(targetArgs.end(), {"--protocol", "inquiry"});
  }
  targetArgs.insert(targetArgs.end(), r.faults.begin(), r.faults.end());
  return cpu;
}

// How many whole lines of text equal line.
int LinesEqual(const std::string& text, const std::string& line) {
  int n = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::size_t stop = end == std::string::npos ? text.size() : end;
    if (text.compare(start, stop - start, line) == 0 && stop - start == line.size()) ++n;
    start = stop + 1;
  }
  return n;
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Waits until the target has seen the host close the line as often as open it.
bool TargetSawTheLineClose(ChildProcess& target, int timeoutMs) {
  for (int waited = 0; waited <= timeoutMs; waited += 20) {
    const std::string& log = target.err();
    const int opened = Count(log, "host opened the line");
    if (opened > 0 && opened == Count(log, "host closed the line")) return true;
    ::usleep(20 * 1000);
  }
  return false;
}

// The port is free again: an exclusive open and lock of the pseudo-terminal succeed.
bool PortCanBeReopened(const std::string& pty) {
  const int fd = ::open(pty.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  ::close(fd);
  return locked;
}

// The row's message as often as it comes, after the line it must follow.
void ExpectItsLines(const std::string& err, const FaultRow& r) {
  EXPECT_EQ(LinesEqual(err, r.message), r.messageTimes) << err;
  if (!r.before.empty()) {
    const auto before = err.find("\n" + r.before + "\n");
    EXPECT_NE(before, std::string::npos) << err;
    EXPECT_LT(before, err.find(r.message)) << err;
  }
  // The lone number of a wrong read answer header says what it is.
  EXPECT_EQ(r.before == "4",
            err.find("\n4\nhint: the number above is the position") != std::string::npos)
      << err;
  // A dead line is said at once, by the step's own message and the hint that names it.
  EXPECT_EQ(r.hangsUp, err.find(r.message + "\nhint: the line to ") != std::string::npos) << err;
}

// Runs the row's job beside the target; afterDropMs: how long vantrel-cli went on after the target
// said it dropped the line (0 when it had ended before that was read).
std::optional<int> RunCliBeside(E2eJob& job, ChildProcess& target, const std::string& cpu,
                                int timeoutMs, long long& afterDropMs) {
  job.WriteProgram();
  ChildProcess cli(job.CliArgs(cpu, {"--verify"}));
  const auto start = Clock::now();
  auto dropped = Clock::time_point::max();
  std::optional<int> code;
  while (!(code = cli.Wait(0)) && Clock::now() - start < std::chrono::milliseconds(timeoutMs)) {
    if (dropped == Clock::time_point::max() && Count(target.err(), "line dropped")) {
      dropped = Clock::now();
    }
    ::usleep(1000);
  }
  afterDropMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                    Clock::now() - std::min(dropped, Clock::now()))
                    .count();
  job.cliErr = CliText(cli.err());
  return code;
}

class FaultCatalogue : public ::testing::TestWithParam<FaultRow> {};

TEST_P(FaultCatalogue, EndsWithItsMessageExitCodeAndTime) {
  const FaultRow& r = GetParam();
  E2eJob job;
  std::vector<std::string> targetArgs;
  cli::CliOptions o;
  o.cpu = Prepare(r, job, targetArgs);
  o.home = job.home.path();
  o.file = job.WriteProgram();
  o.verify = true;
  std::string error;
  auto board = SimulatedBoard::Make(targetArgs, error);
  ASSERT_TRUE(board) << error;

  const cli::BoardRecord record = board->Run(o);
  EXPECT_EQ(record.exitCode, r.exitCode) << board->console;
  EXPECT_EQ(record.verifyFailure, VerifyFailureOf(r));
  ExpectItsLines(board->console, r);
  if (r.message == kNoSync) {  // the hint follows the failure's kind
    EXPECT_NE(board->console.find(kNoSync + "\nhint: no answer to the bit-rate adjustment"),
              std::string::npos);
  }
  EXPECT_GE(board->ms, static_cast<std::uint32_t>(r.waitMs)) << "ended before its time-out";
  EXPECT_LE(board->ms, r.waitMs + kFakeMarginMs);
  EXPECT_EQ(board->model.HungUp(), r.hangsUp);
  // Verify was on: success must mean the flash holds the program.
  if (record.exitCode == 0) {
    std::vector<std::uint8_t> expected(board->model.flash().bytes().size(), 0xFF);
    for (const auto& [address, value] : job.program.image()) expected.at(address) = value;
    EXPECT_TRUE(std::ranges::equal(board->model.flash().bytes(), expected));
  }
}

INSTANTIATE_TEST_SUITE_P(OnTheFakeClock, FaultCatalogue, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

class FaultCatalogueOnTheLine : public ::testing::TestWithParam<FaultRow> {};

TEST_P(FaultCatalogueOnTheLine, EndsWithItsMessageExitCodeAndTimeAndFreesThePort) {
  const FaultRow& r = GetParam();
  E2eJob job;
  std::vector<std::string> argv = {kBin + "/vantrel-target", "--dump",
                                   job.home.PathOf("flash.bin")};
  const std::string cpu = Prepare(r, job, argv);
  ChildProcess target(argv);
  const auto pty = target.ReadLine(5000);
  ASSERT_TRUE(pty && !pty->empty()) << target.err();
  job.port = *pty;

  const auto start = std::chrono::steady_clock::now();
  long long afterDropMs = 0;
  const auto code = RunCliBeside(job, target, cpu, r.waitMs + 30000, afterDropMs);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
  std::printf("[ row      ] %-36s exit %d  %6lld ms  %s\n", r.name.c_str(), code.value_or(-1),
              static_cast<long long>(ms), r.message.c_str());

  ASSERT_TRUE(code.has_value()) << "vantrel-cli did not end\n" << job.cliErr;
  EXPECT_EQ(*code, r.exitCode) << job.cliErr;
  ExpectItsLines(job.cliErr, r);
  EXPECT_GE(ms, r.waitMs) << "ended before its time-out";
  EXPECT_LE(ms, r.waitMs + kMarginMs);

  if (r.hangsUp) {
    EXPECT_EQ(target.Wait(5000), 0);
    std::printf("[ row      ] %-36s ended %lld ms after the line dropped\n", r.name.c_str(),
                afterDropMs);
    EXPECT_LE(afterDropMs, 100);
    EXPECT_NE(target.err().find("line dropped"), std::string::npos) << target.err();
  } else {
    EXPECT_TRUE(TargetSawTheLineClose(target, 3000)) << target.err();
    EXPECT_TRUE(PortCanBeReopened(*pty));
    target.Signal(SIGTERM);
    EXPECT_EQ(target.Wait(5000), 0) << target.err();
  }
  // Verify was on: success must mean the flash holds the program.
  if (code == 0) job.ExpectFlashHoldsProgram(0);
}

INSTANTIATE_TEST_SUITE_P(OnTheLine, FaultCatalogueOnTheLine, ::testing::ValuesIn(RowsOnTheLine()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vantrel::testing
