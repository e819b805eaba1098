#include "cli/board/console_output.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "cli/entry/text_columns.h"

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
  console.Status(0, {JobPhase::AdjustingBitRate});
  console.Status(1, {JobPhase::AdjustingBitRate});
  console.Status(0, {JobPhase::Writing, 0});
  console.Progress(0, 100);
  console.Status(0, {JobPhase::Writing, 0x80});  // the same phase: no line
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
  console.Progress(1, 500);
  console.Line(0, "done");
  console.Status(0, {JobPhase::GettingCpuInfo});
  console.Finish();
  const std::string bar50 = "[" + std::string(15, '#') + std::string(15, '-') + "]  50%  ";
  const std::string bar0 = "[" + std::string(30, '-') + "]   0%  ";
  const std::string bar100 = bar0 + "ＣＰＵ情報の取得中";
  EXPECT_EQ(out.Text(),
            "A   " + bar0 + "\x1b[K\nBB  " + bar50 + "\x1b[K" +  // both rows drawn
                "\r\x1b[1A\x1b[J" + "A: done\n" +                // erased, message above
                "A   " + bar100 + "\x1b[K\nBB  " + bar50 + "\x1b[K" + "\r\x1b[1A\x1b[J");
}

TEST(TextColumns, CountFullWidthAsTwoAndKeepWholeCharacters) {
  const struct {
    std::string text;
    std::size_t columns;  // of the text
    std::size_t room;     // for KeepEnd and WrapToColumns
    std::string keptEnd;
    std::string wrapped;
  } cases[] = {
      {"/dev/serial/by-id/usb-A10KXYZ1-if00-port0", 41, 20, "...0KXYZ1-if00-port0",
       "/dev/serial/by-id/us\nb-A10KXYZ1-if00-port\n0\n"},
      {"ビットレート調整中", 18, 8, "...整中", "ビットレ\nート調整\n中\n"},
      {"\u3000ｱｲ e\u0301", 6, 5, "... e\u0301", "\u3000ｱｲ\ne\u0301\n"},  // half-width, combining
      {"one two three", 13, 9, "... three", "one two\nthree\n"},
      {"abcdef", 6, 2, "..", "ab\ncd\nef\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnsOf(c.text), c.columns) << c.text;
    EXPECT_EQ(KeepEnd(c.text, c.room), c.keptEnd);
    EXPECT_EQ(WrapToColumns(c.text, c.room), c.wrapped);
  }
}

TEST(ProgressRow, FitsTheTerminalWithoutItsLastColumn) {
  constexpr const char* kById = "/dev/serial/by-id/usb-VTL_Adapter_A10KXYZ1-if00-port0";
  const std::string write = "書き込み中：Address = 001200H";
  const std::string sync = "ビットレート調整中";
  const struct {
    const char* label;
    std::size_t labelColumns;
    std::string status;
    std::size_t columns;
    std::string row;
  } cases[] = {
      {"", 0, write, 80, "[###############---------------]  50%  " + write},
      {"/dev/ttyUSB10", 13, write, 0, "/dev/ttyUSB10  [###########------------]  50%  " + write},
      // padded to the widest port, the bar as for any status
      {"/dev/ttyUSB0", 13, "ok", 80, "/dev/ttyUSB0   [###########------------]  50%  ok"},
      {kById, 53, sync, 80, "...ter_A10KXYZ1-if00-port0  [#####-----]  50%  " + sync},
      {kById, 53, sync, 51, "...0KXYZ1-if00-port0  [#####-----]  50%  ビットレ"},
      {kById, 53, sync, 20, "...0KXYZ1-if00-port"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FitProgressRow({c.label, c.labelColumns, 500, c.status}, c.columns), c.row);
  }
}

}  // namespace
}  // namespace vantrel::cli
