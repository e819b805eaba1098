#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/full_disk.h"
#include "support/temp_folder.h"

namespace vantrel::platform {
namespace {

TEST(IniInteger, DecimalOrPrefixedHexElseDefault) {
  const struct {
    const char* value;
    std::int32_t expected;
  } cases[] = {
      {"2000", 2000},
      {"0x7D0", 2000},
      {"0X7d0", 2000},
      {"-50", -50},
      {"+7", 7},
      {"0", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"0xFFFFFFFF", -1},
      {"0x00000000010", 16},
      {"abc", -99},
      {"12abc", -99},
      {"1 2", -99},
      {"1.5", -99},
      {"", -99},
      {"-", -99},
      {"0x", -99},
      {"0xG1", -99},
      {"-0x10", -99},
      {"2147483648", -99},
      {"-2147483649", -99},
      {"0x100000000", -99},
      {"99999999999999999999", -99},
  };
  for (const auto& c : cases) {
    const auto ini = IniFile::Parse(std::string("[S]\nK=") + c.value + "\n");
    EXPECT_EQ(ini.ReadInt("S", "K", -99), c.expected) << "'" << c.value << "'";
  }
}

TEST(IniFile, TextValuesAreVerbatimBetweenBlanks) {
  const auto ini = IniFile::Parse(
      "[Path]\n"
      "MOT_Path =  /home/user/my file.mot \t\n"
      "Quoted=\"x\"\n"
      "Wide=\xE3\x80\x80"
      "abc\xE3\x80\x80\n"
      "Empty=\n"
      "Eq=a=b\n"
      "Comment=value ; not a comment\n");
  EXPECT_EQ(ini.ReadText("Path", "MOT_Path", "d"), "/home/user/my file.mot");
  EXPECT_EQ(ini.ReadText("Path", "Quoted", "d"), "\"x\"");
  EXPECT_EQ(ini.ReadText("Path", "Wide", "d"),
            "\xE3\x80\x80"
            "abc\xE3\x80\x80");
  EXPECT_EQ(ini.ReadText("Path", "Empty", "d"), "");
  EXPECT_EQ(ini.ReadText("Path", "Eq", "d"), "a=b");
  EXPECT_EQ(ini.ReadText("Path", "Comment", "d"), "value ; not a comment");
}

TEST(IniFile, NamesMatchWithoutRegardToCase) {
  const auto ini = IniFile::Parse("[commport]\nbaudb=19200\n[ Writer ]\n  CPU  = X.mot\n");
  EXPECT_EQ(ini.ReadText("CommPort", "BaudB", "9600"), "19200");
  EXPECT_EQ(ini.ReadText("COMMPORT", "BAUDB", "9600"), "19200");
  EXPECT_EQ(ini.ReadText("Writer", "cpu", "Undefined"), "X.mot");
}

TEST(IniFile, MissingKeysSectionsAndLinesGiveDefaults) {
  const auto ini = IniFile::Parse(
      "Orphan=1\n"
      "; Key=commented\n"
      "[A]\n"
      "NoEquals\n"
      "=novalue\n"
      "Key=first\n"
      "Key=second\n"
      "[B]\n"
      "Other=2\n");
  EXPECT_EQ(ini.ReadText("A", "Orphan", "d"), "d");
  EXPECT_EQ(ini.ReadText("A", "; Key", "d"), "d");
  EXPECT_EQ(ini.ReadText("A", "NoEquals", "d"), "d");
  EXPECT_EQ(ini.ReadText("A", "Key", "d"), "first");
  EXPECT_EQ(ini.ReadText("A", "Other", "d"), "d");
  EXPECT_EQ(ini.ReadInt("C", "Other", 5), 5);
  EXPECT_EQ(IniFile::Load("/nonexistent/vantrel.ini").ReadInt("A", "Key", 3), 3);
}

TEST(IniFile, CrLfFilesAndByteOrderMark) {
  const auto ini = IniFile::Parse("\xEF\xBB\xBF[Position]\r\nLeft=0x20\r\nTop=-50\r\n");
  EXPECT_EQ(ini.ReadInt("Position", "Left", 0), 32);
  EXPECT_EQ(ini.ReadInt("Position", "Top", 0), -50);
}

TEST(IniFile, TextIsCutAt2047BytesWithoutSplittingACharacter) {
  const std::string ascii(3000, 'a');
  EXPECT_EQ(IniFile::Parse("[S]\nK=" + ascii + "\n").ReadText("S", "K", "").size(), 2047u);
  // 2046 ASCII bytes then a three-byte character: the character would end past the limit.
  const std::string wide = std::string(2046, 'a') + "\xE3\x80\x80" + "tail";
  EXPECT_EQ(IniFile::Parse("[S]\nK=" + wide + "\n").ReadText("S", "K", ""), std::string(2046, 'a'));
}

class IniWriteTest : public ::testing::Test {
 protected:
  std::string path() const { return folder.PathOf("vantrel.ini"); }
  testing::TempFolder folder;
};

TEST_F(IniWriteTest, NewFileKeepsTheOrderOfWriting) {
  ASSERT_TRUE(IniFile::WriteText(path(), "Position", "Top", "0"));
  ASSERT_TRUE(IniFile::WriteText(path(), "Position", "Left", "10"));
  ASSERT_TRUE(IniFile::WriteText(path(), "CommPort", "PortNo", "COM3"));
  ASSERT_TRUE(IniFile::WriteText(path(), "Position", "Snap", "1"));
  EXPECT_EQ(folder.Read("vantrel.ini"),
            "[Position]\nTop=0\nLeft=10\nSnap=1\n[CommPort]\nPortNo=COM3\n");
  const auto ini = IniFile::Load(path());
  EXPECT_EQ(ini.ReadInt("Position", "Left", -1), 10);
  EXPECT_EQ(ini.ReadText("CommPort", "PortNo", ""), "COM3");
}

TEST_F(IniWriteTest, ExistingFileKeepsItsOtherLinesAndLineEnds) {
  folder.Write("vantrel.ini",
               "; settings\r\n[position]\r\nTOP = 5\r\nLeft=1\r\n\r\n[Writer]\r\nCPU=A.mot\r\n");
  ASSERT_TRUE(IniFile::WriteText(path(), "Position", "Top", "7"));
  ASSERT_TRUE(IniFile::WriteText(path(), "Position", "Snap", "0"));
  ASSERT_TRUE(IniFile::WriteText(path(), "Path", "MOT_Path", "/x/y.mot"));
  EXPECT_EQ(folder.Read("vantrel.ini"),
            "; settings\r\n[position]\r\nTop=7\r\nLeft=1\r\nSnap=0\r\n\r\n[Writer]\r\nCPU=A.mot\r\n"
            "[Path]\r\nMOT_Path=/x/y.mot\r\n");
}

TEST_F(IniWriteTest, FileWithoutFinalLineEndGainsOneBeforeNewLines) {
  folder.Write("vantrel.ini", "[A]\nX=1");
  ASSERT_TRUE(IniFile::WriteText(path(), "A", "Y", "2"));
  ASSERT_TRUE(IniFile::WriteText(path(), "B", "Z", "3"));
  EXPECT_EQ(folder.Read("vantrel.ini"), "[A]\nX=1\nY=2\n[B]\nZ=3\n");
}

TEST_F(IniWriteTest, UnwritableFolderFailsAndLeavesNothingBehind) {
  EXPECT_FALSE(IniFile::WriteText(folder.PathOf("missing/vantrel.ini"), "A", "X", "1"));
  ASSERT_TRUE(IniFile::WriteText(path(), "A", "X", "1"));
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 1);  // no temporary file left over
}

TEST_F(IniWriteTest, ReadOnlyFileIsRefusedUnchangedAndModesAreKept) {
  namespace fs = std::filesystem;
  folder.Write("vantrel.ini", "[A]\nX=1\n");
  fs::permissions(path(), fs::perms::owner_read | fs::perms::group_read);
  EXPECT_FALSE(IniFile::WriteText(path(), "A", "X", "2"));
  EXPECT_EQ(folder.Read("vantrel.ini"), "[A]\nX=1\n");
  fs::permissions(path(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // Windows keeps only a read-only mark; what the system kept before the write must stay.
  const auto modes = fs::status(path()).permissions();
  ASSERT_TRUE(IniFile::WriteText(path(), "A", "X", "2"));
  EXPECT_EQ(fs::status(path()).permissions(), modes);
}

#ifndef _WIN32
// A disk that fills up part-way: the write fails, the old file stays whole and no temporary file
// is left. A file size limit in a child process stands in for the full disk.
TEST_F(IniWriteTest, FullDiskLeavesTheOldFileWhole) {
  folder.Write("vantrel.ini", "[A]\nX=1\n");
  EXPECT_EQ(testing::WriteOnAFullDisk(
                4096, [&] { return IniFile::WriteText(path(), "A", "Y", std::string(8192, 'y')); }),
            false);
  EXPECT_EQ(folder.Read("vantrel.ini"), "[A]\nX=1\n");
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.path())) ++files;
  EXPECT_EQ(files, 1);
}
#endif

}  // namespace
}  // namespace vantrel::platform
