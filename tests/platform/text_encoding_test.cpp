#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include "platform/file_access.h"
#include "platform/folder_listing.h"
#include "platform/ini_file.h"
#include "platform/replace_file.h"
#include "support/temp_folder.h"

namespace vantrel::platform {
namespace {

// "日本語" in Shift-JIS; its second byte of each pair is no UTF-8 continuation.
constexpr std::string_view kShiftJis = "\x93\xfa\x96\x7b\x8c\xea";
constexpr std::string_view kUtf8 = "日本語";

TEST(Utf8, OnlyWellFormedSequencesPass) {
  const struct {
    std::string_view bytes;
    bool valid;
  } cases[] = {
      {"plain ASCII", true},
      {kUtf8, true},
      {"\xE3\x80\x80", true},       // the full-width space
      {"\xF0\x9F\x98\x80", true},   // outside the BMP
      {kShiftJis, false},           // another encoding
      {"\xC0\x80", false},          // overlong NUL
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xE6\x97", false},          // cut short at the end
      {"\xE6\x97"
       "A",
       false},          // cut short before ASCII
      {"\x80", false},  // a lone continuation byte
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(ForeignText, Utf8StaysAndShiftJisBecomesUtf8) {
  ASSERT_EQ(LegacyCodePage(), 932u) << "the Windows tests run with the ANSI code page 932 "
                                       "(LC_ALL=ja_JP.UTF-8 under Wine)";
  EXPECT_EQ(DecodeCodePage(kShiftJis, 932), std::string(kUtf8));
  EXPECT_EQ(TextFromForeignFile(kUtf8), kUtf8);
  EXPECT_EQ(TextFromForeignFile(std::string("CPU=") + std::string(kShiftJis)),
            "CPU=" + std::string(kUtf8));
  // A lead byte with nothing after it is text in neither: the bytes stay as they were.
  EXPECT_EQ(TextFromForeignFile("\x93"), "\x93");
}

TEST(ForeignText, AShiftJisIniFileReadsAndStaysShiftJis) {
  testing::TempFolder folder;
  const std::string path = folder.Write(
      "AutoPgm.ini", "[AutoPgm]\r\nMOT=C:\\" + std::string(kShiftJis) + ".mot\r\nComPortNo=3\r\n");
  EXPECT_EQ(IniFile::Load(path).ReadText("AutoPgm", "MOT", "-"),
            "C:\\" + std::string(kUtf8) + ".mot");
  ASSERT_TRUE(IniFile::WriteText(path, "AutoPgm", "ComPortNo", "4"));
  EXPECT_EQ(folder.Read("AutoPgm.ini"),
            "[AutoPgm]\r\nMOT=C:\\" + std::string(kShiftJis) + ".mot\r\nComPortNo=4\r\n");
}

// A write keeps the file's encoding; a new file, or one of plain ASCII, is made in the system's
// own (Shift-JIS under the Windows tests' code page, UTF-8 on POSIX).
TEST(ForeignText, AWriteKeepsTheFilesEncoding) {
  const std::string native(NativeCodePage() == kUtf8CodePage ? kUtf8 : kShiftJis);
  const std::string utf8(kUtf8);
  const std::string sjis(kShiftJis);
  const struct {
    std::string before;  // empty: no file
    std::string value;
    std::string after;
  } cases[] = {
      {"", utf8, "[P]\nK=" + native + "\n"},
      {"[P]\nK=x\n", utf8, "[P]\nK=" + native + "\n"},
      {"[M]\nX=" + utf8 + "\n[P]\nK=x\n", utf8, "[M]\nX=" + utf8 + "\n[P]\nK=" + utf8 + "\n"},
      {"[M]\nX=" + sjis + "\n[P]\nK=x\n", utf8, "[M]\nX=" + sjis + "\n[P]\nK=" + sjis + "\n"},
      // What the code page lacks is written as the system's own calls write it.
      {"[M]\nX=" + sjis + "\n", utf8 + "한", "[M]\nX=" + sjis + "\n[P]\nK=" + sjis + "?\n"},
  };
  for (const auto& c : cases) {
    testing::TempFolder folder;
    if (!c.before.empty()) folder.Write("a.ini", c.before);
    ASSERT_TRUE(IniFile::WriteText(folder.PathOf("a.ini"), "P", "K", c.value));
    EXPECT_EQ(folder.Read("a.ini"), c.after) << c.before;
  }
}

// Dropped and chosen names are cut as the original's 260-byte buffer cut them: in Shift-JIS bytes
// on Windows, in characters on POSIX (where a byte count of UTF-8 would cut far too early).
TEST(FileNames, AreCutAsTheSystemCountsThem) {
  const auto repeat = [](std::string_view text, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += text;
    return r;
  };
  const bool bytes = NativeCodePage() != kUtf8CodePage;
  EXPECT_EQ(CutFileName(repeat("a", 300), 259), repeat("a", 259));
  EXPECT_EQ(CutFileName(repeat("ソ", 90), 259), repeat("ソ", 90));
  EXPECT_EQ(CutFileName(repeat("ソ", 300), 259), repeat("ソ", bytes ? 129 : 259));
}

// A file that is text in neither encoding: writing one key, which may drop its only bad byte,
// must not change how another key reads (found by fuzzing).
TEST(ForeignText, AWriteIntoAFileInNeitherEncodingKeepsTheOtherValues) {
  const char* files[] = {
      "[CommPort]\nPortNo=\xFF\n[Timer]\nCadence=\xDC",
      "[CommPort]\nPortNo=\xFF\n[Timer]\nCadence=\xDC\nX=\xE3\x80\x80\n",
  };
  for (const char* file : files) {
    testing::TempFolder folder;
    const std::string path = folder.Write("vantrel.ini", file);
    const auto before = IniFile::Load(path);
    ASSERT_TRUE(IniFile::WriteText(path, "CommPort", "PortNo", "COM7"));
    const auto after = IniFile::Load(path);
    EXPECT_EQ(after.ReadText("CommPort", "PortNo", "-"), "COM7");
    for (const char* key : {"Cadence", "X"}) {
      EXPECT_EQ(after.ReadText("Timer", key, "-"), before.ReadText("Timer", key, "-")) << file;
    }
  }
}

TEST(Utf8Paths, AJapaneseNameIsWrittenListedAndRead) {
  testing::TempFolder folder;
  const std::string name = "書込み設定.ini";
  ASSERT_TRUE(ReplaceFile(folder.PathOf(name), "[A]\nX=1\n"));
  const auto entries = ListFolder(folder.path());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, name);
  EXPECT_TRUE(entries[0].regular);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(folder.PathOf(name), bytes));
  EXPECT_EQ(bytes, "[A]\nX=1\n");
  EXPECT_EQ(OpenFileForReading(folder.path()), nullptr) << "a folder must not open as a file";
}

}  // namespace
}  // namespace vantrel::platform
