#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/job_events.h"

namespace vantrel::cli {

// The width of the terminal on standard error, as it is now; 0 when it is none.
std::size_t StandardErrorColumns();

// The terminal or the log every board writes to, shared by the boards' threads. On a terminal
// each board has one progress line that is redrawn in place; otherwise a line is printed when a
// board's phase changes. With several boards every line starts with the board's port.
class ConsoleOutput {
 public:
  // The terminal's width in columns when a row is drawn; 0 when not known.
  using Columns = std::function<std::size_t()>;

  // labels: one per board (its port); empty for a single board, whose lines carry no prefix.
  ConsoleOutput(std::FILE* out, bool terminal, std::vector<std::string> labels,
                Columns columns = StandardErrorColumns);
  ConsoleOutput(const ConsoleOutput&) = delete;
  ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  void Beep();
  // One message line of a board, above the progress lines.
  void Line(std::size_t board, std::string_view text);
  // A line for each phase a board enters; on a terminal its row shows the status as it is.
  void Status(std::size_t board, const JobStatus& status);
  void Progress(std::size_t board, int permille);
  // Draws what a redraw held back for being too soon after the last, once it is due.
  void Refresh();
  // Takes the progress lines off the screen.
  void Finish();

 private:
  struct Board {
    int permille = 0;
    std::string status;
    std::optional<JobPhase> lastPhase;
  };

  std::string Prefix(std::size_t board) const;
  std::string Row(std::size_t board, std::size_t columns) const;
  void EraseRows();
  void DrawRows();
  void Redraw();

  std::mutex mutex_;
  std::FILE* out_;
  bool terminal_;
  std::vector<std::string> labels_;
  Columns columns_;
  std::size_t labelWidth_ = 0;
  std::vector<Board> boards_;
  bool drawn_ = false;
  std::string lastDrawn_;
  std::chrono::steady_clock::time_point lastDraw_{};
};

// A board's progress row: its port, the bar, the percentage and the job's status.
struct ProgressParts {
  std::string_view label;        // the board's port; empty for a single board
  std::size_t labelColumns = 0;  // the widest port of the run, so that the bars line up
  int permille = 0;
  std::string_view status;
};

// The row within `columns` columns (0: not known, taken as 80), its last column left free, where
// a character makes some terminals wrap. What gives way, in turn: the bar down to a third, the
// port down to its last 20 columns, the status from its end.
std::string FitProgressRow(const ProgressParts& parts, std::size_t columns);

}  // namespace vantrel::cli
