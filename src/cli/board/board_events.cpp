#include "cli/board/board_events.h"

#include "cli/records/job_report.h"

namespace vantrel::cli {
namespace {

std::string_view NoticeName(JobNotice notice) {
  switch (notice) {
    case JobNotice::PortOpened:
      return "port-opened";
    case JobNotice::Written:
      return "written";
    case JobNotice::Verified:
      return "verified";
  }
  return "unknown";
}

std::string Field(std::string_view name, const std::string& value) {
  return JsonString(name) + ": " + value;
}

std::string Number(std::int64_t n) {
  return std::to_string(n);
}

std::string FailureFields(const JobFailureEvent& f) {
  std::string fields = Field("failure", JsonString(FailureName(f.failure))) + ", " +
                       Field("text", JsonString(f.text));
  auto add = [&fields](std::string_view name, const std::string& value) {
    fields += ", " + Field(name, value);
  };
  if (f.address) add("address", Number(*f.address));
  if (f.headerPosition) add("headerPosition", Number(static_cast<std::int64_t>(*f.headerPosition)));
  if (!f.code.empty()) add("code", JsonString(f.code));
  if (!f.detail.empty()) add("detail", JsonString(f.detail));
  if (f.failure == JobFailure::WriteFailed) {
    add("answer", Number(f.answer));
    add("firstBlock", f.firstBlock ? "true" : "false");
  }
  return fields;
}

}  // namespace

void BoardEvents::Emit(std::string_view kind, std::string_view fields) {
  if (stream_ != nullptr) stream_->Write(board_, port_, kind, fields);
}

void BoardEvents::Status(const JobStatus& s) {
  // An idle tick after the job's end (the driver's slice may hold one) is no part of the job.
  if (!running_) return;
  if (following_) out_.Status(board_, s);
  // The idle status comes again at every tick.
  if (lastStatus_ && lastStatus_->phase == s.phase && lastStatus_->address == s.address &&
      lastStatus_->seconds == s.seconds) {
    return;
  }
  lastStatus_ = s;
  std::string fields = Field("phase", JsonString(PhaseName(s.phase)));
  switch (s.phase) {
    case JobPhase::ReadingUserProgram:
    case JobPhase::Writing:
    case JobPhase::Verifying:
      fields += ", " + Field("address", Number(s.address));
      break;
    case JobPhase::WaitingForErase:
      fields += ", " + Field("seconds", Number(s.seconds));
      break;
    default:
      break;
  }
  Emit("status", fields + ", " + Field("text", JsonString(StatusText(s))));
}

void BoardEvents::Progress(std::int32_t permille) {
  if (following_) out_.Progress(board_, permille);
  if (lastPermille_ == permille) return;
  lastPermille_ = permille;
  Emit("progress", Field("permille", Number(permille)));
}

void BoardEvents::Running(bool running) {
  following_ = running;
  running_ = running;
  Emit("running", Field("running", running ? "true" : "false"));
}

void BoardEvents::RateSwitched(std::string_view baud) {
  switchedRate_ = std::string(baud);
  Emit("rate", Field("rate", JsonString(baud)));
}

void BoardEvents::Beep() {
  out_.Beep();
  Emit("beep");
}

void BoardEvents::Show(std::string_view text) {
  following_ = false;
  lastMessage_ = text;
  out_.Line(board_, text);
}

void BoardEvents::Failed(const JobFailureEvent& failure) {
  Emit("failure", FailureFields(failure));
  if (failure.failure == JobFailure::PortNotOpened) portFailed_ = true;
  Show(failure.text);
  if (!hint_) return;
  const std::string hint = hint_(failure);
  if (hint.empty()) return;
  out_.Line(board_, hint);
  if (stream_)
    stream_->Aside(EventStream::Object(board_, port_, "hint", "\"text\": " + JsonString(hint)));
}

void BoardEvents::Notice(JobNotice notice, std::string_view text) {
  Emit("notice",
       Field("notice", JsonString(NoticeName(notice))) + ", " + Field("text", JsonString(text)));
  Show(text);
}

void BoardEvents::Result(JobResultCode result) {
  result_ = result;
  Emit("result", Field("result", Number(static_cast<std::int32_t>(result))));
}

void BoardEvents::Message(std::string_view text) {
  out_.Beep();
  lastMessage_ = text;
  out_.Line(board_, text);
}

void BoardEvents::End(JobResultCode result, std::string_view outcome, int exitCode) {
  Emit("end", Field("result", Number(static_cast<std::int32_t>(result))) + ", " +
                  Field("outcome", JsonString(outcome)) + ", " +
                  Field("exitCode", Number(exitCode)));
}

}  // namespace vantrel::cli
