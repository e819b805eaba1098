#include <gtest/gtest.h>

#include <algorithm>

#include "simulator/inquiry_boot_loader.h"
#include "simulator/inquiry_fixture.h"
#include "support/case_name.h"

namespace vantrel::simulator::testing {
namespace {

using Phase = InquiryBootLoader::Phase;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
  return b;
}

Bytes FlashBytes(const Flash& flash, std::uint32_t address, std::size_t size) {
  auto all = flash.bytes();
  return Bytes(all.begin() + address, all.begin() + address + size);
}

TEST_F(InquiryLoaderTest, EraseAnswersAfterTheEraseTimeAndLeavesTheFlashErased) {
  config.eraseMs = 2000;
  flash.Program(0x1000, Pattern(16, 1));
  Select();
  Feed({0x40});
  EXPECT_EQ(FlashBytes(flash, 0x1000, 16), Bytes(16, 0xFF));
  Wait(1'997'000);     // the command byte itself took 1 ms
  Feed({0x20, 0x43});  // a busy target drops what it hears
  EXPECT_TRUE(line.Take().empty());
  EXPECT_EQ(L().phase(), Phase::Erasing);
  Wait(1000);
  EXPECT_EQ(line.Take(), Bytes{0x06});
  EXPECT_EQ(L().phase(), Phase::Programming);
}

TEST_F(InquiryLoaderTest, EraseOfZeroMillisecondsAnswersAtOnce) {
  config.eraseMs = 0;
  Select();
  Feed({0x40});
  EXPECT_EQ(line.Take(), Bytes{0x06});
}

TEST_F(InquiryLoaderTest, ProgrammingFramesWriteTheUserMat) {
  Programming();
  auto first = Pattern(128, 3);
  auto last = Pattern(128, 9);
  Feed(ProgramFrame(0x100, first));
  Feed(ProgramFrame(0x3FF80, last));
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x06}));
  EXPECT_EQ(FlashBytes(flash, 0x100, 128), first);
  EXPECT_EQ(FlashBytes(flash, 0x3FF80, 128), last);
  EXPECT_EQ(FlashBytes(flash, 0x180, 128), Bytes(128, 0xFF));
}

struct RefusedFrame {
  const char* what;
  std::uint32_t address;
  bool corrupt;
};

class RefusedProgramTest : public InquiryLoaderTest,
                           public ::testing::WithParamInterface<RefusedFrame> {};

TEST_P(RefusedProgramTest, IsAnsweredWithNakAndWritesNothing) {
  const auto& c = GetParam();
  Programming();
  auto frame = ProgramFrame(c.address, Pattern(128, 5));
  if (c.corrupt) frame.back() ^= 0x80;
  Feed(frame);
  EXPECT_EQ(line.Take(), Bytes{0x15}) << c.what;
  EXPECT_TRUE(std::all_of(flash.bytes().begin(), flash.bytes().end(), [](std::uint8_t b) {
    return b == 0xFF;
  })) << c.what;
  // The next frame is read from its first byte again.
  Feed(ProgramFrame(0, Pattern(128, 1)));
  EXPECT_EQ(line.Take(), Bytes{0x06}) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, RefusedProgramTest,
    ::testing::Values(RefusedFrame{"bad checksum", 0x100, true},
                      RefusedFrame{"just past the user mat", 0x40000, false},
                      RefusedFrame{"straddling the end of the user mat", 0x3FFC0, false},
                      RefusedFrame{"far outside the flash", 0xFFFFFF00u, false}),
    [](const auto& info) { return vantrel::testing::Identifier(info.param.what); });

TEST_F(InquiryLoaderTest, ProgrammingBeforeTheMatSelectionIsRefused) {
  Select();
  Feed({0x40});
  Wait(std::uint64_t{config.eraseMs} * 1000);
  line.Take();
  Feed(ProgramFrame(0, Pattern(128, 1)));
  EXPECT_EQ(line.Take(), Bytes{0x15});
  EXPECT_EQ(FlashBytes(flash, 0, 128), Bytes(128, 0xFF));
}

TEST_F(InquiryLoaderTest, ProgrammingFrameArrivingInPiecesIsWrittenWhole) {
  Programming();
  auto data = Pattern(128, 11);
  auto frame = ProgramFrame(0x200, data);
  for (std::size_t i = 0; i < frame.size(); i += 13) {
    Feed(Bytes(frame.begin() + i, frame.begin() + std::min(frame.size(), i + 13)));
    Wait(10'000);
  }
  EXPECT_EQ(line.Take(), Bytes{0x06});
  EXPECT_EQ(FlashBytes(flash, 0x200, 128), data);
}

TEST_F(InquiryLoaderTest, UserBootMatIsProgrammedAndReadApartFromTheFlash) {
  Select();
  Feed({0x40});
  Wait(std::uint64_t{config.eraseMs} * 1000);
  Feed({0x42});
  ASSERT_EQ(line.Take(), (Bytes{0x06, 0x06}));
  auto data = Pattern(128, 21);
  Feed(ProgramFrame(0x1F80, data));
  Feed(ProgramFrame(0x2000, data));  // past the user boot mat
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x15}));
  EXPECT_EQ(FlashBytes(flash, 0x1F80, 128), Bytes(128, 0xFF));
  Feed(ReadFrame(0x00, 0x1F80, 128));
  auto answer = line.Take();
  ASSERT_EQ(answer.size(), 134u);
  EXPECT_EQ(Bytes(answer.begin() + 5, answer.end() - 1), data);
}

TEST_F(InquiryLoaderTest, UserBootMatSelectionIsRefusedWhenNoneIsDescribed) {
  config.device.userBootMat.clear();
  Select();
  Feed({0x40});
  Wait(std::uint64_t{config.eraseMs} * 1000);
  Feed({0x42, 0x43});
  EXPECT_EQ(line.Take(), (Bytes{0x06, 0x15, 0x06}));
}

TEST_F(InquiryLoaderTest, ReadAnswerCarriesLengthDataAndChecksum) {
  Programming();
  auto data = Pattern(128, 40);
  Feed(ProgramFrame(0x80, data));
  line.Take();
  auto command = ReadFrame(0x01, 0x80, 128);
  Feed(command);
  auto answer = line.Take();
  ASSERT_EQ(answer.size(), 134u);
  EXPECT_EQ(Bytes(answer.begin(), answer.begin() + 5), (Bytes{0x52, 0x00, 0x00, 0x00, 0x80}));
  EXPECT_EQ(Bytes(answer.begin() + 5, answer.end() - 1), data);
  EXPECT_EQ(Checksum(answer), 0);
}

struct RefusedRead {
  const char* what;
  Bytes frame;
};

class RefusedReadTest : public InquiryLoaderTest,
                        public ::testing::WithParamInterface<RefusedRead> {};

TEST_P(RefusedReadTest, IsAnsweredWithNak) {
  Programming();
  Feed(GetParam().frame);
  EXPECT_EQ(line.Take(), Bytes{0x15}) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, RefusedReadTest,
    ::testing::Values(RefusedRead{"unknown area", ReadFrame(0x02, 0, 128)},
                      RefusedRead{"length 0", ReadFrame(0x01, 0, 0)},
                      RefusedRead{"past the user mat", ReadFrame(0x01, 0x3FF81, 128)},
                      RefusedRead{"past the user boot mat", ReadFrame(0x00, 0x1FFF, 2)},
                      RefusedRead{"bad checksum",
                                  [] {
                                    auto f = ReadFrame(0x01, 0, 128);
                                    f.back() ^= 1;
                                    return f;
                                  }()},
                      RefusedRead{"size 8", Frame(0x52, {0x01, 0, 0, 0, 0, 0, 0, 0})}),
    [](const auto& info) { return vantrel::testing::Identifier(info.param.what); });

TEST_F(InquiryLoaderTest, EndOfProgrammingThenQuietEndsTheJob) {
  config.endQuietMs = 300;
  Programming();
  Feed(kEndOfProgramming);
  EXPECT_EQ(line.Take(), Bytes{0x06});
  EXPECT_FALSE(L().JobEnded()) << "a verification may follow";
  Wait(299'000);
  EXPECT_FALSE(L().JobEnded());
  Wait(1000);
  EXPECT_TRUE(L().JobEnded());
}

TEST_F(InquiryLoaderTest, VerificationAfterTheEndOfProgrammingEndsWithTheEndOfJobByte) {
  Programming();
  Feed(ProgramFrame(0, Pattern(128, 2)));
  Feed(kEndOfProgramming);
  line.Take();
  Wait(30'000);
  Feed(ReadFrame(0x01, 0, 128));
  EXPECT_EQ(line.Take().size(), 134u);
  EXPECT_FALSE(L().JobEnded());
  Feed({0xFF});
  EXPECT_TRUE(L().JobEnded());
  EXPECT_TRUE(line.sent.empty()) << "the end-of-job byte is not answered";
}

TEST_F(InquiryLoaderTest, ANewJobsFirstByteAfterTheEndOfProgrammingEndsTheJob) {
  Programming();
  Feed(kEndOfProgramming);
  line.Take();
  Feed({0x00});
  EXPECT_TRUE(L().JobEnded());
  EXPECT_TRUE(line.sent.empty());
}

TEST_F(InquiryLoaderTest, EndOfProgrammingWithABadChecksumIsRefused) {
  Programming();
  auto frame = kEndOfProgramming;
  frame.back() = 0xB5;
  Feed(frame);
  EXPECT_EQ(line.Take(), Bytes{0x15});
  Wait(5'000'000);
  EXPECT_FALSE(L().JobEnded());
}

}  // namespace
}  // namespace vantrel::simulator::testing
