#include "job/load_user_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "support/file_held_open.h"
#include "support/srecord_builder.h"
#include "support/step_fixture.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using testing::MakeRecord;

class LoadUserProgramTest : public ::testing::Test {
 protected:
  void UseFile(const std::string& bytes) {
    f.fields.UserProgramPath = folder.Write("user.mot", bytes);
  }

  // PhaseStart, then PhaseContinue until the load ends.
  StepResult Load() {
    if (op.Run(PhaseStart) != StepBusy) return StepFailed;
    for (int i = 0; i < 100000; ++i) {
      const StepResult r = op.Run(PhaseContinue);
      if (r != StepBusy) return r;
    }
    return StepBusy;
  }

  const std::vector<std::string>& Events() const { return f.host.events; }
  std::uint8_t Byte(std::size_t offset) const { return image->memory.bytes[offset]; }
  int MarkedBlocks() const {
    int n = 0;
    for (auto flag : image->blocks.flags) n += flag != 0;
    return n;
  }

  testing::TempFolder folder;
  testing::StepFixture f;
  std::unique_ptr<ProgramImage> image = std::make_unique<ProgramImage>();
  LoadUserProgram op{f.ctx, *image};
};

TEST_F(LoadUserProgramTest, StoresDataMarksBlocksAndShowsTheAddress) {
  UseFile("S0030000FC\n" + MakeRecord('1', 0x0100, {1, 2, 3}) + "\n" +
          MakeRecord('2', 0x012345, {0x44}) + "\nS9030000FC\n");
  EXPECT_EQ(Load(), StepDone);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(Byte(0x100), 1);
  EXPECT_EQ(Byte(0x102), 3);
  EXPECT_EQ(Byte(0x12345), 0x44);
  EXPECT_EQ(Byte(0x103), 0xFF);
  EXPECT_EQ(Byte(0), 0xFF);
  EXPECT_EQ(image->blocks.flags[0x100 / 128], 1);
  EXPECT_EQ(image->blocks.flags[0x12345 / 128], 1);
  EXPECT_EQ(MarkedBlocks(), 2);
  EXPECT_EQ(f.controls.Panel5.caption, "ファイル読み込み中：Address = 00012345");
  EXPECT_FALSE(op.FileOpen());
}

TEST_F(LoadUserProgramTest, ImageWindowKeepsOnlyTheMebibyteFromRomBase) {
  f.fields.RomBaseAddr = 0xFFF00000;
  UseFile(MakeRecord('3', 0xFFEFFFFF, {0x11, 0x22}) + "\n" +  // last byte below, first byte in
          MakeRecord('3', 0xFFFFFFFF, {0x33, 0x44}) + "\n");  // last image byte, then wraps to 0
  EXPECT_EQ(Load(), StepDone);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(Byte(0), 0x22);
  EXPECT_EQ(Byte(kImageSize - 1), 0x33);
  EXPECT_EQ(image->blocks.flags[0], 1);
  EXPECT_EQ(image->blocks.flags[kBlockCount - 1], 1);
  EXPECT_EQ(MarkedBlocks(), 2);
}

TEST_F(LoadUserProgramTest, BytesPastTheTopAddressDoNotWrapToZero) {
  f.fields.RomBaseAddr = 0;
  const std::vector<std::uint8_t> data = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  UseFile(MakeRecord('1', 0x0100, {0x5A}) + "\n" + MakeRecord('3', 0xFFFFFFF8, data) + "\n");
  EXPECT_EQ(Load(), StepDone);
  EXPECT_TRUE(Events().empty());
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(Byte(i), 0xFF) << i;
  EXPECT_EQ(MarkedBlocks(), 1);
  EXPECT_EQ(op.pastTopLine(), 2u);
}

TEST_F(LoadUserProgramTest, DataOnlyOutsideTheImageLoadsWithoutMarkingABlock) {
  f.fields.RomBaseAddr = 0x10000;
  UseFile(MakeRecord('2', 0x0FFFF, {0x11}) + "\n" + MakeRecord('2', 0x110000, {0x22}) + "\n");
  EXPECT_EQ(Load(), StepDone);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(MarkedBlocks(), 0);
  for (std::size_t i : {std::size_t{0}, kImageSize - 1}) EXPECT_EQ(Byte(i), 0xFF);
}

TEST_F(LoadUserProgramTest, BlockFlagFollowsBlockSize) {
  const struct {
    std::uint16_t blockSize;
    std::uint32_t offset;
    std::size_t flag;
  } cases[] = {{128, 0x1FF, 3}, {256, 0x1FF, 1}, {128, 0xFFFFF, 8191}, {256, 0xFFFFF, 4095}};
  for (const auto& c : cases) {
    f.fields.BlockSize = c.blockSize;
    UseFile(MakeRecord('3', c.offset, {0x5A}) + "\n");
    EXPECT_EQ(Load(), StepDone);
    EXPECT_EQ(image->blocks.flags[c.flag], 1) << c.blockSize << " " << c.offset;
    EXPECT_EQ(MarkedBlocks(), 1) << c.blockSize << " " << c.offset;
  }
}

TEST_F(LoadUserProgramTest, EachLoadStartsFromAnErasedImage) {
  UseFile(MakeRecord('1', 0x0000, {0x00}) + "\n");
  ASSERT_EQ(Load(), StepDone);
  UseFile(MakeRecord('1', 0x4000, {0x00}) + "\n");
  ASSERT_EQ(Load(), StepDone);
  EXPECT_EQ(Byte(0), 0xFF);
  EXPECT_EQ(image->blocks.flags[0], 0);
  EXPECT_EQ(MarkedBlocks(), 1);
}

TEST_F(LoadUserProgramTest, RecordsInAnyOrderWithGapsLaterOnesWin) {
  UseFile(MakeRecord('1', 0x2000, {0xAA, 0xBB}) + "\n" + MakeRecord('1', 0x0010, {0x01}) + "\n" +
          MakeRecord('1', 0x2001, {0xCC}, true) + "\n");
  EXPECT_EQ(Load(), StepDone);
  EXPECT_EQ(Byte(0x2000), 0xAA);
  EXPECT_EQ(Byte(0x2001), 0xCC);
  EXPECT_EQ(Byte(0x10), 0x01);
}

TEST_F(LoadUserProgramTest, FormatErrorsBeepShowTheCodeAndCloseTheFile) {
  const std::string good = MakeRecord('1', 0x0000, {0x10}) + "\n";
  std::string badSum = MakeRecord('1', 0x0000, {0x10});
  badSum.back() = badSum.back() == '0' ? '1' : '0';
  const struct {
    std::string file;
    const char* code;
  } cases[] = {
      {good + "\nS9030000FC\n", "01"},  // empty line before the end record
      {good + "s9030000FC\n", "01"},   {good + "S1ZZ0000\n", "02"},   {good + "S5030001FB\n", "03"},
      {good + "S105ZZ\n", "04"},       {good + "S1050000GG\n", "06"}, {good + "S104000001\n", "08"},
      {good + badSum + "\n", "09"},
  };
  for (const auto& c : cases) {
    f.host.Clear();
    UseFile(c.file);
    EXPECT_EQ(Load(), StepFailed) << c.code;
    EXPECT_EQ(Events(), (std::vector<std::string>{
                            "beep", std::string("box: Ｓフォーマット異常 No.") + c.code}));
    EXPECT_FALSE(op.FileOpen());
    EXPECT_FALSE(testing::FileHeldOpen(f.fields.UserProgramPath)) << c.code;
  }
}

TEST_F(LoadUserProgramTest, BytesBeforeABadOneAreAlreadyInTheImage) {
  UseFile("S1060100AABBZZ\n");
  EXPECT_EQ(Load(), StepFailed);
  EXPECT_EQ(Byte(0x100), 0xAA);
  EXPECT_EQ(Byte(0x101), 0xBB);
}

TEST_F(LoadUserProgramTest, NothingAfterTheEndRecordIsRead) {
  UseFile(MakeRecord('1', 0, {1}) + "\nS9030000FC\nthis is not a record\n" +
          MakeRecord('1', 0x80, {2}) + "\n");
  EXPECT_EQ(Load(), StepDone);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(Byte(0x80), 0xFF);
  EXPECT_FALSE(op.FileOpen());
}

TEST_F(LoadUserProgramTest, EndOfFileWithoutEndRecordOrFinalLineEndIsDone) {
  UseFile(MakeRecord('1', 0, {1}) + "\n" + MakeRecord('1', 1, {2}));
  EXPECT_EQ(Load(), StepDone);
  EXPECT_EQ(Byte(1), 2);
}

TEST_F(LoadUserProgramTest, CrLfFilesReadLikeLfFiles) {
  UseFile("S0030000FC\r\n" + MakeRecord('1', 0x40, {7, 8}) + "\r\nS9030000FC\r\n");
  EXPECT_EQ(Load(), StepDone);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(Byte(0x41), 8);
}

TEST_F(LoadUserProgramTest, LineLimitOf127Characters) {
  // A 126-character record with one trailing blank is exactly 127 characters: it parses, and the
  // next read gets its bare line end.
  const std::string record126 = MakeRecord('2', 0x000100, std::vector<std::uint8_t>(57, 0x11));
  ASSERT_EQ(record126.size(), 126u);
  const struct {
    std::string file;
    const char* code;  // nullptr: loads
  } cases[] = {
      {record126 + "\n", nullptr},
      {record126 + "\r\n", nullptr},
      {record126 + " \n", "01"},
      {record126 + " \r\n", "01"},
      {MakeRecord('1', 0, std::vector<std::uint8_t>(59, 0x22)) + "\n", "08"},  // 128 characters
      {MakeRecord('1', 0, std::vector<std::uint8_t>(60, 0x22)) + "\n", "06"},  // 130 characters
  };
  for (const auto& c : cases) {
    f.host.Clear();
    UseFile(c.file);
    if (c.code == nullptr) {
      EXPECT_EQ(Load(), StepDone) << c.file;
      EXPECT_TRUE(Events().empty());
      EXPECT_EQ(Byte(0x100 + 56), 0x11);
    } else {
      EXPECT_EQ(Load(), StepFailed) << c.file;
      ASSERT_EQ(f.host.boxes.size(), 1u);
      EXPECT_EQ(f.host.boxes[0], std::string(" Ｓフォーマット異常 No.") + c.code);
    }
  }
}

TEST_F(LoadUserProgramTest, MissingFileOrFolderCannotBeOpened) {
  for (const std::string& path : {folder.PathOf("absent.mot"), folder.path()}) {
    f.host.Clear();
    f.fields.UserProgramPath = path;
    EXPECT_EQ(op.Run(PhaseStart), StepFailed) << path;
    EXPECT_EQ(Events(),
              (std::vector<std::string>{"beep", "box:書き込むファイルがオープンできません"}));
    EXPECT_FALSE(op.FileOpen());
  }
}

TEST_F(LoadUserProgramTest, TheEndStepClosesAFileLeftOpenMidLoad) {
  UseFile(MakeRecord('1', 0, {1}) + "\n" + MakeRecord('1', 1, {2}) + "\n");
  const std::string& path = f.fields.UserProgramPath;
  ASSERT_EQ(op.Run(PhaseStart), StepBusy);
  ASSERT_EQ(op.Run(PhaseContinue), StepBusy);
  EXPECT_TRUE(op.FileOpen());
  EXPECT_TRUE(testing::FileHeldOpen(path));
  op.CloseFile();
  EXPECT_FALSE(op.FileOpen());
  EXPECT_FALSE(testing::FileHeldOpen(path));
  op.CloseFile();  // a second end step finds nothing to close
  EXPECT_FALSE(testing::FileHeldOpen(path));
  // Going on after the close reads nothing and fails rather than reporting a finished load.
  EXPECT_EQ(op.Run(PhaseContinue), StepFailed);
  EXPECT_EQ(Byte(1), 0xFF);
}

TEST_F(LoadUserProgramTest, OtherPhasesDoNothing) {
  UseFile(MakeRecord('1', 0, {1}) + "\n");
  ASSERT_EQ(op.Run(PhaseStart), StepBusy);
  EXPECT_EQ(op.Run(PhaseFinish), StepBusy);
  EXPECT_EQ(Byte(0), 0xFF);
  EXPECT_EQ(op.Run(PhaseContinue), StepBusy);
  EXPECT_EQ(Byte(0), 1);
}

}  // namespace
}  // namespace vantrel
