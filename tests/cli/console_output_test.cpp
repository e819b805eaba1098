#include "cli/console_output.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "cli/text_columns.h"
#include "support/case_name.h"

namespace vantrel::cli {
namespace {

// Everything written to a temporary file, read back.
struct Captured {
  Captured() : file(std::tmpfile()) {}
  ~Captured() { std::fclose(file); }
  std::string Text() {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[512];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
      text.append(buffer, n);
    return text;
  }
  std::FILE* file;
};

TEST(ConsoleOutput, WithoutATerminalEachBoardPrintsItsPhasesAndMessagesUnderItsPort) {
  Captured out;
  ConsoleOutput console(out.file, false, {"/dev/pts/1", "/dev/pts/2"});
  console.Progress(0, 0, "ビットレート調整中");
  console.Progress(1, 0, "ビットレート調整中");
  console.Progress(0, 100, "書き込み中：Address = 000000H");
  console.Progress(0, 200, "書き込み中：Address = 000080H");  // the same phase: no line
  console.Line(1, " ビットレートの調整が出来ませんでした ");
  console.Finish();
  EXPECT_EQ(out.Text(),
            "/dev/pts/1: ビットレート調整中\n"
            "/dev/pts/2: ビットレート調整中\n"
            "/dev/pts/1: 書き込み中：Address = 000000H\n"
            "/dev/pts/2:  ビットレートの調整が出来ませんでした \n");
}

TEST(ConsoleOutput, OnATerminalOneLinePerBoardIsRedrawnAndAMessageGoesAboveThem) {
  Captured out;
  ConsoleOutput console(out.file, true, {"A", "BB"}, [] { return std::size_t{80}; });
  console.Progress(1, 500, "write");
  console.Line(0, "done");
  console.Progress(0, 1000, "end");
  console.Finish();
  const std::string bar50 = "[" + std::string(15, '#') + std::string(15, '-') + "]  50%  write";
  const std::string bar0 = "[" + std::string(30, '-') + "]   0%  ";
  const std::string bar100 = "[" + std::string(30, '#') + "] 100%  end";
  EXPECT_EQ(out.Text(),
            "A   " + bar0 + "\x1b[K\nBB  " + bar50 + "\x1b[K" +  // both rows drawn
                "\r\x1b[1A\x1b[J" + "A: done\n" +                // erased, message above
                "A   " + bar100 + "\x1b[K\nBB  " + bar50 + "\x1b[K" + "\r\x1b[1A\x1b[J");
}

struct ColumnsCase {
  const char* name;
  std::string text;
  std::size_t columns;  // of the text
  std::size_t room;     // for what is kept
  std::string keptEnd;  // KeepEnd
  std::string wrapped;  // WrapToColumns
};

class TextColumns : public ::testing::TestWithParam<ColumnsCase> {};

TEST_P(TextColumns, CountsFullWidthAsTwoAndKeepsWholeCharacters) {
  const ColumnsCase& c = GetParam();
  EXPECT_EQ(ColumnsOf(c.text), c.columns);
  EXPECT_EQ(KeepEnd(c.text, c.room), c.keptEnd);
  EXPECT_EQ(WrapToColumns(c.text, c.room), c.wrapped);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextColumns,
    ::testing::Values(
        ColumnsCase{"Ascii", "port0", 5, 9, "port0", "port0\n"},
        ColumnsCase{"ByIdNameKeepsItsEnd", "/dev/serial/by-id/usb-A10KXYZ1-if00-port0", 41, 20,
                    "...0KXYZ1-if00-port0", "/dev/serial/by-id/us\nb-A10KXYZ1-if00-port\n0\n"},
        ColumnsCase{"FullWidthIsTwoAndNeverHalved", "ビットレート調整中", 18, 8, "...整中",
                    "ビットレ\nート調整\n中\n"},
        ColumnsCase{"IdeographicSpaceHalfWidthKanaAndACombiningMark", "\u3000ｱｲ e\u0301", 6, 5,
                    "... e\u0301", "\u3000ｱｲ\ne\u0301\n"},
        ColumnsCase{"WordsWrapAtBlanks", "one two three", 13, 9, "... three", "one two\nthree\n"},
        ColumnsCase{"NoRoomForMoreThanDots", "abcdef", 6, 2, "..", "ab\ncd\nef\n"}),
    testing::CaseName());

struct RowCase {
  const char* name;
  const char* label;
  std::size_t labelColumns;
  const char* status;
  std::size_t columns;
  const char* row;
};

class ProgressRow : public ::testing::TestWithParam<RowCase> {};

TEST_P(ProgressRow, FitsTheTerminalWithoutItsLastColumn) {
  const RowCase& c = GetParam();
  const std::string row = FitProgressRow({c.label, c.labelColumns, 500, c.status}, c.columns);
  EXPECT_EQ(row, c.row);
  EXPECT_LT(ColumnsOf(row), c.columns == 0 ? 80 : c.columns);
}

constexpr const char* kById = "/dev/serial/by-id/usb-VTL_Adapter_A10KXYZ1-if00-port0";

INSTANTIATE_TEST_SUITE_P(
    Rows, ProgressRow,
    ::testing::Values(
        RowCase{"RoomEnough", "", 0, "書き込み中：Address = 001200H", 80,
                "[###############---------------]  50%  書き込み中：Address = 001200H"},
        RowCase{"UnknownWidthIsEighty", "/dev/ttyUSB10", 13, "書き込み中：Address = 001200H", 0,
                "/dev/ttyUSB10  [###########------------]  50%  書き込み中：Address = "
                "001200H"},
        RowCase{"ShortPortsPaddedToTheWidestAndTheBarAsForAnyStatus", "/dev/ttyUSB0", 13, "ok", 80,
                "/dev/ttyUSB0   [###########------------]  50%  ok"},
        RowCase{"ALongPortKeepsItsEnd", kById, 53, "ビットレート調整中", 80,
                "...ter_A10KXYZ1-if00-port0  [#####-----]  50%  ビットレート調整中"},
        RowCase{"TheStatusGivesWayLastAndWhole", kById, 53, "ビットレート調整中", 51,
                "...0KXYZ1-if00-port0  [#####-----]  50%  ビットレ"},
        RowCase{"NarrowerThanTheLeast", kById, 53, "ビットレート調整中", 20,
                "...0KXYZ1-if00-port"}),
    testing::CaseName());

}  // namespace
}  // namespace vantrel::cli
