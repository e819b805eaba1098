#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cli/board/console_output.h"
#include "cli/records/event_stream.h"
#include "core/job_events.h"

namespace vantrel::cli {

// What one board's job tells, on the terminal: its phases and progress on the shared console,
// its messages as lines, each failure followed by a hint a person can act on where there is one;
// and every event on the event stream, when there is one.
class BoardEvents final : public JobEvents {
 public:
  // Gives the hint line for a failure, or an empty text.
  using Hint = std::function<std::string(const JobFailureEvent&)>;

  BoardEvents(ConsoleOutput& out, std::size_t board, EventStream* stream, std::string port)
      : out_(out), board_(board), stream_(stream), port_(std::move(port)) {}

  void Status(const JobStatus& status) override;
  void Progress(std::int32_t permille) override;
  void Running(bool running) override;
  void RateSwitched(std::string_view baud) override;
  void Beep() override;
  void Failed(const JobFailureEvent& failure) override;
  void Notice(JobNotice notice, std::string_view text) override;
  void Result(JobResultCode result) override;

  void SetHint(Hint hint) { hint_ = std::move(hint); }
  // A message box of the window's on the way to the job: its beep and its line.
  void Message(std::string_view text);
  // Lines of the board's own (the summary's "aborted"), in its place on the console.
  void Say(std::string_view text) { out_.Line(board_, text); }
  // The stream's last event of the board: the job's result and how the run counts it.
  void End(JobResultCode result, std::string_view outcome, int exitCode);

  // The text of the last message: the job's outcome in words.
  const std::string& lastMessage() const { return lastMessage_; }
  // A port of the job did not open.
  bool portFailed() const { return portFailed_; }
  // Until the job says otherwise, nothing has been done.
  JobResultCode result() const { return result_; }
  // Baud (P) as the job last used it: an inquiry switches to the board's own.
  const std::optional<std::string>& switchedRate() const { return switchedRate_; }

 private:
  void Emit(std::string_view kind, std::string_view fields = {});
  void Show(std::string_view text);

  ConsoleOutput& out_;
  std::size_t board_;
  EventStream* stream_;
  std::string port_;
  Hint hint_;
  std::string lastMessage_;
  bool portFailed_ = false;
  // The console follows the job from its start to its first message: a status set after it,
  // such as the bit-rate adjustment after a port that did not open, is no phase it ran.
  bool following_ = false;
  bool running_ = false;
  JobResultCode result_ = JobResultCode::NotCompleted;
  std::optional<std::string> switchedRate_;
  std::optional<JobStatus> lastStatus_;
  std::optional<std::int32_t> lastPermille_;
};

}  // namespace vantrel::cli
