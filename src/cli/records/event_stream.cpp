#include "cli/records/event_stream.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include "cli/records/job_report.h"
#include "platform/file_access.h"

namespace vantrel::cli {

std::string UtcNow() {
  using namespace std::chrono;
  const auto now = time_point_cast<milliseconds>(system_clock::now());
  const auto day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{now - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int(date.year()),
                unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                int(time.minutes().count()), int(time.seconds().count()),
                int(time.subseconds().count()));
  return text;
}

std::unique_ptr<EventStream> EventStream::Open(const std::string& path, std::string& error) {
  if (path == "-") return std::unique_ptr<EventStream>(new EventStream(stdout, false));
  std::FILE* out = platform::OpenStreamForWriting(path);
  if (out == nullptr) {
    error = "cannot create the event stream " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<EventStream>(new EventStream(out, true));
}

std::unique_ptr<EventStream> EventStream::Unwritten() {
  return std::unique_ptr<EventStream>(new EventStream(nullptr, false));
}

EventStream::~EventStream() {
  if (own_) std::fclose(out_);
}

std::string EventStream::Object(std::size_t board, std::string_view port, std::string_view kind,
                                std::string_view fields) {
  std::string object = "{\"board\": " + std::to_string(board) + ", \"port\": " + JsonString(port) +
                       ", \"time\": " + JsonString(UtcNow()) + ", \"kind\": " + JsonString(kind);
  if (!fields.empty()) object += ", " + std::string(fields);
  return object + "}";
}

void EventStream::Aside(std::string_view object) {
  std::lock_guard lock(mutex_);
  if (tap_) tap_(object);
}

void EventStream::Write(std::size_t board, std::string_view port, std::string_view kind,
                        std::string_view fields) {
  const std::string line = Object(board, port, kind, fields) + "\n";
  std::lock_guard lock(mutex_);
  if (tap_) tap_(std::string_view(line).substr(0, line.size() - 1));
  if (out_ == nullptr) return;
  // A reader that went away must not stop the jobs: the lines are lost, and said so at the end.
  const bool written = std::fwrite(line.data(), 1, line.size(), out_) == line.size();
  if ((!written || std::fflush(out_) != 0) && error_.empty()) error_ = std::strerror(errno);
}

std::string EventStream::Error() {
  std::lock_guard lock(mutex_);
  return error_;
}

}  // namespace vantrel::cli
