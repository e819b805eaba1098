#include "simulator/classic_boot_loader.h"

#include <gtest/gtest.h>

#include "simulator/model_harness.h"
#include "support/case_name.h"

namespace vantrel::testing {
namespace {

using simulator::ClassicBootLoader;
using State = ClassicBootLoader::State;

const ClassicBootLoader& Classic(const ModelHarness& h) {
  return static_cast<const ClassicBootLoader&>(h.model.loader());
}

// Sends the write-control program as the host does: length, then chunks of 16, each echoed.
Bytes Transfer(ModelHarness& h, const Bytes& program, std::uint32_t baud = 9600) {
  const auto size = static_cast<std::uint16_t>(program.size());
  Bytes echoes =
      h.Send({static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)}, baud);
  for (std::size_t i = 0; i < program.size(); i += 16) {
    const std::size_t n = std::min<std::size_t>(16, program.size() - i);
    echoes = Concat(echoes, h.Send(Bytes(program.begin() + static_cast<long>(i),
                                         program.begin() + static_cast<long>(i + n)),
                                   baud));
  }
  return echoes;
}

Bytes WriteCommand(std::uint32_t address, const Bytes& data) {
  return Concat({0x55, static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8),
                 static_cast<std::uint8_t>(address >> 16)},
                data);
}

Bytes VerifyCommand(std::uint32_t address) {
  return {0x56, static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8),
          static_cast<std::uint8_t>(address >> 16)};
}

// A target that has synced, received a 291-byte program and finished its erase.
struct ClassicJob {
  explicit ClassicJob(simulator::TargetOptions options = {})
      : eraseMs(options.classic.eraseMs), h(std::move(options)) {
    EXPECT_EQ(h.Sync(), (Bytes{0x00, 0xAA}));
    EXPECT_EQ(Transfer(h, program), Concat({0x01, 0x23}, program));
    h.WaitMs(eraseMs);
    EXPECT_EQ(h.Take(), Bytes{0xAA});
  }
  std::uint32_t eraseMs;
  Bytes program = Block(291, 3);
  ModelHarness h;
};

TEST(ClassicBootLoader, EchoesLengthAndEveryProgramByte) {
  ModelHarness h;
  h.Sync();
  const Bytes program = Block(40, 9);
  EXPECT_EQ(Transfer(h, program), Concat({0x00, 0x28}, program));
  EXPECT_EQ(Classic(h).programLength(), 40u);
  EXPECT_EQ(Classic(h).state(), State::Erasing);
}

TEST(ClassicBootLoader, EraseAnswerComesAfterTheEraseTimeAndClearsTheFlash) {
  simulator::TargetOptions options;
  options.classic.eraseMs = 2500;
  ClassicJob first;
  EXPECT_EQ(first.h.Send(WriteCommand(0x100, Block(128, 1))), Bytes{0xAA});
  ASSERT_EQ(first.h.model.flash().At(0x100), 1);

  // The board is reset for a second job; the new program erases what the first one wrote.
  first.h.model.Reset();
  ModelHarness& h = first.h;
  h.Sync();
  Transfer(h, Block(10, 0));
  h.WaitMs(1499);
  EXPECT_EQ(h.Take(), Bytes{});
  EXPECT_EQ(h.model.flash().At(0x100), 1);
  h.WaitMs(1);
  EXPECT_EQ(h.Take(), Bytes{0xAA});
  EXPECT_EQ(h.model.flash().At(0x100), 0xFF);

  ModelHarness slow(options);
  slow.Sync();
  Transfer(slow, Block(1, 0));
  slow.WaitMs(2499);
  EXPECT_EQ(slow.Take(), Bytes{});
  slow.WaitMs(1);
  EXPECT_EQ(slow.Take(), Bytes{0xAA});
}

TEST(ClassicBootLoader, WritesBlocksAndVerifiesThemBack) {
  ClassicJob job;
  const Bytes data = Block(128, 0x40);
  EXPECT_EQ(job.h.Send(WriteCommand(0x001280, data)), Bytes{0xAA});
  for (std::uint32_t i = 0; i < 128; ++i) EXPECT_EQ(job.h.model.flash().At(0x1280 + i), data[i]);
  EXPECT_EQ(job.h.model.flash().At(0x1300), 0xFF);
  EXPECT_EQ(job.h.Send(VerifyCommand(0x001280)), Concat({0x80, 0x12, 0x00}, data));
  // An untouched block reads erased.
  EXPECT_EQ(job.h.Send(VerifyCommand(0x2000)), Concat({0x00, 0x20, 0x00}, Bytes(128, 0xFF)));
}

TEST(ClassicBootLoader, BlockOutsideTheFlashIsRefused) {
  simulator::TargetOptions options;
  options.flashBase = 0x10000;
  options.flashSize = 0x8000;
  ClassicJob job(options);
  EXPECT_EQ(job.h.Send(WriteCommand(0xFF80, Block(128, 1))), Bytes{0x15});
  EXPECT_EQ(job.h.Send(WriteCommand(0x17F80, Block(128, 1))), Bytes{0xAA});
  EXPECT_EQ(job.h.Send(WriteCommand(0x18000, Block(128, 1))), Bytes{0x15});
  EXPECT_EQ(job.h.model.flash().At(0x17F80), 1);
}

TEST(ClassicBootLoader, AddressesWrapAt24Bits) {
  simulator::TargetOptions options;
  options.flashBase = 0xFF000000;
  options.flashSize = 0x1000;
  ClassicJob job(options);
  // Only the low 24 address bits travel; the flash answers to them.
  EXPECT_EQ(job.h.Send(WriteCommand(0x000080, Block(128, 5))), Bytes{0xAA});
  EXPECT_EQ(job.h.model.flash().At(0xFF000080), 5);
}

TEST(ClassicBootLoader, BlockSize256) {
  simulator::TargetOptions options;
  options.classic.blockSize = 256;
  ClassicJob job(options);
  // 128 bytes are only half a block: no answer yet.
  EXPECT_EQ(job.h.Send(WriteCommand(0x200, Block(128, 1))), Bytes{});
  EXPECT_EQ(job.h.Send(Block(128, 2)), Bytes{0xAA});
  EXPECT_EQ(job.h.Send(VerifyCommand(0x200)).size(), 3u + 256u);
}

TEST(ClassicBootLoader, EndOfJobReturnsToBootModeAndKeepsTheFlash) {
  ClassicJob job;
  job.h.Send(WriteCommand(0, Block(128, 7)));
  EXPECT_FALSE(job.h.model.TakeJobEnded());
  EXPECT_EQ(job.h.Send({0xFF}), Bytes{});
  EXPECT_TRUE(job.h.model.TakeJobEnded());
  EXPECT_EQ(job.h.model.mode(), simulator::TargetModel::Mode::BitRateAdjust);
  EXPECT_EQ(job.h.model.flash().At(0), 7);
}

struct RateCase {
  const char* name;
  std::uint32_t given;  // the program's own rate; 0: none
  std::uint32_t host;   // the rate the host writes at after the erase
  bool understood;
};

class ProgramRate : public ::testing::TestWithParam<RateCase> {};

// Without a rate of its own the program listens at the host's; with one, at that one alone.
TEST_P(ProgramRate, WriteIsTakenOnlyAtTheRateTheProgramListensAt) {
  const auto& c = GetParam();
  simulator::TargetOptions options;
  options.classic.programmingBaud = c.given;
  ClassicJob job(options);  // the erase answer still comes at the boot rate
  const Bytes answer = job.h.Send(WriteCommand(0, Block(128, 1)), c.host);
  EXPECT_EQ(answer == Bytes{0xAA}, c.understood) << ::testing::PrintToString(answer);
  EXPECT_EQ(job.h.model.flash().At(0) == 1, c.understood);
}

INSTANTIATE_TEST_SUITE_P(Target, ProgramRate,
                         ::testing::Values(RateCase{"NoneFollowsAFasterHost", 0, 57600, true},
                                           RateCase{"NoneFollowsAHostAtTheBootRate", 0, 9600, true},
                                           RateCase{"NoneFollowsASlowerHost", 0, 2400, true},
                                           RateCase{"GivenEqualToTheHosts", 38400, 38400, true},
                                           RateCase{"GivenBelowTheHosts", 38400, 57600, false},
                                           RateCase{"GivenWhileTheHostStaysAtTheBootRate", 38400,
                                                    9600, false}),
                         CaseName());

struct FaultCase {
  const char* name;
  void (*apply)(simulator::ClassicFaults&);
  // Runs the exchange under test on a job past its erase and checks what the host sees.
  void (*check)(ClassicJob&);
};

class ClassicFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ClassicFaults, HostSeesTheFault) {
  simulator::TargetOptions options;
  GetParam().apply(options.classic.faults);
  ClassicJob job(options);
  GetParam().check(job);
}

void TwoBlocks(ClassicJob& job, Bytes first, Bytes second) {
  EXPECT_EQ(job.h.Send(WriteCommand(0, Block(128, 1))), first);
  EXPECT_EQ(job.h.Send(WriteCommand(0x80, Block(128, 2))), second);
}

INSTANTIATE_TEST_SUITE_P(
    Target, ClassicFaults,
    ::testing::Values(
        FaultCase{"nak_block_2", [](simulator::ClassicFaults& f) { f.nakBlock = 2; },
                  [](ClassicJob& job) {
                    TwoBlocks(job, {0xAA}, {0x15});
                    EXPECT_EQ(job.h.model.flash().At(0x80), 0xFF);
                  }},
        FaultCase{"silent_block_1", [](simulator::ClassicFaults& f) { f.silentBlock = 1; },
                  [](ClassicJob& job) {
                    TwoBlocks(job, {}, {0xAA});
                    job.h.WaitMs(5000);
                    EXPECT_EQ(job.h.Take(), Bytes{});
                  }},
        FaultCase{"hang_up_after_block_1",
                  [](simulator::ClassicFaults& f) { f.hangUpAfterBlock = 1; },
                  [](ClassicJob& job) {
                    TwoBlocks(job, {0xAA}, {});
                    EXPECT_TRUE(job.h.model.HungUp());
                    EXPECT_EQ(job.h.model.flash().At(0x80), 0xFF);
                  }},
        FaultCase{"bad_address_echo_1", [](simulator::ClassicFaults& f) { f.badAddressEcho = 1; },
                  [](ClassicJob& job) {
                    const Bytes got = job.h.Send(VerifyCommand(0x123456));
                    ASSERT_EQ(got.size(), 131u);
                    EXPECT_EQ(Bytes(got.begin(), got.begin() + 3), (Bytes{0x57, 0x34, 0x12}));
                  }},
        FaultCase{"no_verify_data_2", [](simulator::ClassicFaults& f) { f.noVerifyData = 2; },
                  [](ClassicJob& job) {
                    EXPECT_EQ(job.h.Send(VerifyCommand(0)).size(), 131u);
                    EXPECT_EQ(job.h.Send(VerifyCommand(0x80)), (Bytes{0x80, 0x00, 0x00}));
                  }},
        FaultCase{"flip_verify_byte_1", [](simulator::ClassicFaults& f) { f.flipVerifyByte = 1; },
                  [](ClassicJob& job) {
                    job.h.Send(WriteCommand(0, Block(128, 1)));
                    const Bytes got = job.h.Send(VerifyCommand(0));
                    const Bytes data = Block(128, 1);
                    ASSERT_EQ(got.size(), 131u);
                    EXPECT_TRUE(std::equal(data.begin(), data.end() - 1, got.begin() + 3));
                    EXPECT_EQ(got.back(), data.back() ^ 0x01);
                  }}),
    [](const auto& info) { return std::string(info.param.name); });

struct TransferFaultCase {
  const char* name;
  void (*apply)(simulator::ClassicFaults&);
  Bytes (*expectedEchoes)(const Bytes& program);
  Bytes eraseAnswer;
};

class ClassicTransferFaults : public ::testing::TestWithParam<TransferFaultCase> {};

TEST_P(ClassicTransferFaults, HostSeesTheFault) {
  simulator::TargetOptions options;
  GetParam().apply(options.classic.faults);
  ModelHarness h(options);
  h.Sync();
  const Bytes program = Block(20, 0x30);
  EXPECT_EQ(Transfer(h, program), GetParam().expectedEchoes(program));
  h.WaitMs(1500);
  EXPECT_EQ(h.Take(), GetParam().eraseAnswer);
  // Whatever the erase answer was, the program now serves writes.
  EXPECT_EQ(h.Send(WriteCommand(0, Block(128, 1))), Bytes{0xAA});
}

INSTANTIATE_TEST_SUITE_P(
    Target, ClassicTransferFaults,
    ::testing::Values(TransferFaultCase{"drop_echo_3",
                                        [](simulator::ClassicFaults& f) { f.dropEcho = 3; },
                                        [](const Bytes& p) {
                                          Bytes e = Concat({0x00, 0x14}, p);
                                          e.erase(e.begin() + 2 + 2);
                                          return e;
                                        },
                                        {0xAA}},
                      TransferFaultCase{"corrupt_echo_1",
                                        [](simulator::ClassicFaults& f) { f.corruptEcho = 1; },
                                        [](const Bytes& p) {
                                          Bytes e = Concat({0x00, 0x14}, p);
                                          e[2] ^= 0x80;
                                          return e;
                                        },
                                        {0xAA}},
                      TransferFaultCase{"wrong_erase_answer",
                                        [](simulator::ClassicFaults& f) { f.eraseAnswer = 0x5A; },
                                        [](const Bytes& p) {
                                          return Concat({0x00, 0x14}, p);
                                        },
                                        {0x5A}},
                      TransferFaultCase{"no_erase_answer",
                                        [](simulator::ClassicFaults& f) { f.noEraseAnswer = true; },
                                        [](const Bytes& p) {
                                          return Concat({0x00, 0x14}, p);
                                        },
                                        {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel::testing
