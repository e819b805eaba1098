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

EventStream::~EventStream() {
  if (own_) std::fclose(out_);
}

void EventStream::Write(std::size_t board, std::string_view port, std::string_view kind,
                        std::string_view fields) {
  std::string line = "{\"board\": " + std::to_string(board) + ", \"port\": " + JsonString(port) +
                     ", \"time\": " + JsonString(UtcNow()) + ", \"kind\": " + JsonString(kind);
  if (!fields.empty()) line += ", " + std::string(fields);
  line += "}\n";
  std::lock_guard lock(mutex_);
  // A reader that went away must not stop the jobs: the lines are lost, and said so at the end.
  const bool written = std::fwrite(line.data(), 1, line.size(), out_) == line.size();
  if ((!written || std::fflush(out_) != 0) && error_.empty()) error_ = std::strerror(errno);
}

std::string EventStream::Error() {
  std::lock_guard lock(mutex_);
  return error_;
}

}  // namespace vantrel::cli
