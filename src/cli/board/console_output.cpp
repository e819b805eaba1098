#include "cli/board/console_output.h"

#include <algorithm>

#include "cli/entry/text_columns.h"
#include "platform/console.h"

namespace vantrel::cli {
namespace {

// A fast job changes its status line thousands of times a second; a person reads far fewer.
constexpr std::chrono::milliseconds kRedrawEvery{50};

}  // namespace

std::size_t StandardErrorColumns() {
  return static_cast<std::size_t>(
      std::max(platform::TerminalColumns(platform::StandardStream::Error), 0));
}

std::string FitProgressRow(const ProgressParts& p, std::size_t columns) {
  constexpr std::size_t kBar = 30;
  constexpr std::size_t kFixed = 9;  // the brackets and " 100%  "
  const std::size_t room = (columns == 0 ? 80 : columns) - 1;
  const bool labelled = !p.label.empty();
  std::size_t label = labelled ? std::max(p.labelColumns, ColumnsOf(p.label)) : 0;
  const std::size_t gap = labelled ? 2 : 0;
  std::size_t bar = kBar;
  // Laid out for the widest status ("ベリファイ中：Address = 001F80H"), so that the bar keeps its
  // length from phase to phase and lines up from board to board.
  std::size_t status = std::max<std::size_t>(ColumnsOf(p.status), 32);
  auto giveWay = [&](std::size_t& part, std::size_t least) {
    const std::size_t need = label + gap + bar + kFixed + status;
    if (need > room && part > least) part -= std::min(part - least, need - room);
  };
  giveWay(bar, kBar / 3);
  giveWay(label, std::min<std::size_t>(label, 20));
  const std::size_t used = label + gap + bar + kFixed;
  status = room > used ? room - used : 0;

  std::string row;
  if (labelled) {
    row = KeepEnd(p.label, label);
    row.append(label + gap - ColumnsOf(row), ' ');
  }
  const int permille = std::clamp(p.permille, 0, 1000);
  const std::size_t filled = static_cast<std::size_t>(permille) * bar / 1000;
  row += "[";
  row.append(filled, '#');
  row.append(bar - filled, '-');
  char percent[16];
  std::snprintf(percent, sizeof percent, "] %3d%%  ", permille / 10);
  row += percent;
  row += CutToColumns(p.status, status);
  // A terminal narrower than the parts' least: the row's start.
  return std::string(CutToColumns(row, room));
}

ConsoleOutput::ConsoleOutput(std::FILE* out, bool terminal, std::vector<std::string> labels,
                             Columns columns)
    : out_(out),
      terminal_(terminal),
      labels_(std::move(labels)),
      columns_(std::move(columns)),
      boards_(std::max<std::size_t>(labels_.size(), 1)) {
  for (const auto& label : labels_) labelWidth_ = std::max(labelWidth_, ColumnsOf(label));
}

std::string ConsoleOutput::Prefix(std::size_t board) const {
  return labels_.empty() ? std::string() : labels_[board] + ": ";
}

std::string ConsoleOutput::Row(std::size_t board, std::size_t columns) const {
  const Board& b = boards_[board];
  return FitProgressRow(
      {labels_.empty() ? std::string_view() : labels_[board], labelWidth_, b.permille, b.status},
      columns);
}

void ConsoleOutput::EraseRows() {
  if (!drawn_) return;
  std::fputs("\r", out_);
  if (boards_.size() > 1) std::fprintf(out_, "\x1b[%zuA", boards_.size() - 1);
  std::fputs("\x1b[J", out_);
  drawn_ = false;
}

void ConsoleOutput::DrawRows() {
  // Asked at every draw: a row wider than the terminal would wrap, and the redraw would climb
  // too few lines and leave rows behind.
  const std::size_t columns = columns_ ? columns_() : 0;
  std::string text;
  for (std::size_t i = 0; i < boards_.size(); ++i) {
    text += Row(i, columns) + "\x1b[K";
    if (i + 1 < boards_.size()) text += "\n";
  }
  if (drawn_ && text == lastDrawn_) return;
  if (drawn_) {
    std::fputs("\r", out_);
    if (boards_.size() > 1) std::fprintf(out_, "\x1b[%zuA", boards_.size() - 1);
  }
  std::fputs(text.c_str(), out_);
  std::fflush(out_);
  drawn_ = true;
  lastDrawn_ = std::move(text);
  lastDraw_ = std::chrono::steady_clock::now();
}

void ConsoleOutput::Beep() {
  std::lock_guard lock(mutex_);
  if (terminal_) std::fputc('\a', out_);
}

void ConsoleOutput::Line(std::size_t board, std::string_view text) {
  std::lock_guard lock(mutex_);
  EraseRows();
  const std::string line = Prefix(board) + std::string(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), out_);
  std::fflush(out_);
}

void ConsoleOutput::Status(std::size_t board, const JobStatus& status) {
  std::lock_guard lock(mutex_);
  Board& b = boards_[board];
  b.status = StatusText(status);
  if (!terminal_) {
    if (b.lastPhase == status.phase) return;
    b.lastPhase = status.phase;
    const std::string line = Prefix(board) + b.status + "\n";
    std::fwrite(line.data(), 1, line.size(), out_);
    std::fflush(out_);
    return;
  }
  Redraw();
}

void ConsoleOutput::Progress(std::size_t board, int permille) {
  std::lock_guard lock(mutex_);
  boards_[board].permille = permille;
  if (terminal_) Redraw();
}

void ConsoleOutput::Refresh() {
  std::lock_guard lock(mutex_);
  if (terminal_ && drawn_) Redraw();
}

void ConsoleOutput::Redraw() {
  if (drawn_ && std::chrono::steady_clock::now() - lastDraw_ < kRedrawEvery) return;
  DrawRows();
}

void ConsoleOutput::Finish() {
  std::lock_guard lock(mutex_);
  EraseRows();
  std::fflush(out_);
}

}  // namespace vantrel::cli
