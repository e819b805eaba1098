#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vantrel::cli {

// Now, in UTC, ISO 8601 with milliseconds: "2026-01-31T12:00:00.250Z".
std::string UtcNow();

// The --events stream: one JSON object per line for every event of every board of a run, each
// line flushed as it is written, so that another program can follow the jobs as they go.
class EventStream {
 public:
  // "-" is standard output.
  static std::unique_ptr<EventStream> Open(const std::string& path, std::string& error);
  // A stream to no file: its lines go to its tap alone.
  static std::unique_ptr<EventStream> Unwritten();
  // One event's object: {"board": N, "port": ..., "time": ..., "kind": ..., FIELDS}; fields are
  // `"name": value` pairs joined by ", ", or empty.
  static std::string Object(std::size_t board, std::string_view port, std::string_view kind,
                            std::string_view fields);
  EventStream(const EventStream&) = delete;
  EventStream& operator=(const EventStream&) = delete;
  ~EventStream();

  // Object(...) as a line of the stream, and to the tap.
  void Write(std::size_t board, std::string_view port, std::string_view kind,
             std::string_view fields);
  // Every line, without its newline, goes to `tap` as well (the station's view); set before the
  // first line. It must not wait.
  void Tap(std::function<void(std::string_view)> tap) { tap_ = std::move(tap); }
  // An object for the tap alone: what the station tells beside the jobs' events.
  void Aside(std::string_view object);
  // Why lines are missing; empty while every line was written.
  std::string Error();

 private:
  EventStream(std::FILE* out, bool own) : out_(out), own_(own) {}
  std::mutex mutex_;
  std::FILE* out_;  // null: no file
  bool own_;
  std::function<void(std::string_view)> tap_;
  std::string error_;
};

}  // namespace vantrel::cli
