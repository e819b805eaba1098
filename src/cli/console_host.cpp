#include "cli/console_host.h"

#include <cstdlib>

namespace vantrel::cli {

std::string PhaseOf(std::string_view status) {
  // "書き込み中：Address = 001200H", "消去完了待ち　 5/30 [秒]": the phase ends at the full-width
  // colon or space.
  for (std::string_view sep : {std::string_view("："), std::string_view("\u3000")}) {
    const auto at = status.find(sep);
    if (at != std::string_view::npos && at > 0) status = status.substr(0, at);
  }
  return std::string(status);
}

void ConsoleHost::Beep() {
  if (terminal_) std::fputc('\a', out_);
}

void ConsoleHost::ClearProgressLine() {
  if (progressShown_) {
    std::fputs("\r\x1b[K", out_);
    progressShown_ = false;
  }
}

void ConsoleHost::ShowMessageBox(std::string_view text) {
  ClearProgressLine();
  std::fwrite(text.data(), 1, text.size(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
  lastLine_.clear();
}

void ConsoleHost::ExitProcess(int code) {
  FinishProgress();
  std::fflush(out_);
  std::exit(code);
}

void ConsoleHost::ShowProgress(int permille, std::string_view status) {
  if (!terminal_) {
    const std::string phase = PhaseOf(status);
    if (phase.empty() || phase == lastPhase_) return;
    lastPhase_ = phase;
    std::fprintf(out_, "%s\n", std::string(status).c_str());
    std::fflush(out_);
    return;
  }
  if (permille < 0) permille = 0;
  if (permille > 1000) permille = 1000;
  constexpr int kWidth = 30;
  const int filled = permille * kWidth / 1000;
  std::string line = "\r[";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(kWidth - filled), '-');
  char percent[16];
  std::snprintf(percent, sizeof percent, "] %3d%%  ", permille / 10);
  line += percent;
  line += status;
  line += "\x1b[K";
  if (line == lastLine_ && progressShown_) return;
  lastLine_ = line;
  std::fputs(line.c_str(), out_);
  std::fflush(out_);
  progressShown_ = true;
}

void ConsoleHost::FinishProgress() {
  ClearProgressLine();
}

}  // namespace vantrel::cli
