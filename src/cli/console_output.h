#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

// The terminal or the log every board writes to, shared by the boards' threads. On a terminal
// each board has one progress line that is redrawn in place; otherwise a line is printed when a
// board's phase changes. With several boards every line starts with the board's port.
class ConsoleOutput {
 public:
  // labels: one per board (its port); empty for a single board, whose lines carry no prefix.
  ConsoleOutput(std::FILE* out, bool terminal, std::vector<std::string> labels);
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  void Beep();
  // One message line of a board, above the progress lines.
  void Line(std::size_t board, std::string_view text);
  void Progress(std::size_t board, int permille, std::string_view status);
  // Takes the progress lines off the screen.
  void Finish();

 private:
  struct Board {
    int permille = 0;
    std::string status;
    std::string lastPhase;
  };

  std::string Prefix(std::size_t board) const;
  std::string Row(std::size_t board) const;
  void EraseRows();
  void DrawRows();

  std::mutex mutex_;
  std::FILE* out_;
  bool terminal_;
  std::vector<std::string> labels_;
  std::size_t labelWidth_ = 0;
  std::vector<Board> boards_;
  bool drawn_ = false;
  std::string lastDrawn_;
  std::chrono::steady_clock::time_point lastDraw_{};
};

// The part of a status text that names the phase, without its changing address or count.
std::string PhaseOf(std::string_view status);

}  // namespace vantrel::cli
