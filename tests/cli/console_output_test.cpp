#include "cli/console_output.h"

#include <gtest/gtest.h>

#include <cstdio>

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
  ConsoleOutput console(out.file, true, {"A", "BB"});
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

}  // namespace
}  // namespace vantrel::cli
