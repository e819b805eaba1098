#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace vantrel::cli {

// One run of bytes in one direction, as a trace line shows it.
struct TraceRun {
  std::uint32_t atMs = 0;  // since the trace began
  std::string_view port;   // empty for a single board
  std::uint32_t baud = 0;  // the line rate the port was set to; 0 while it was not configured
  std::int32_t step = 0;   // the programming sequence's step
  bool toTarget = true;
  std::span<const std::uint8_t> bytes;
};

// "    1234 ms  9600 baud  step 2 adjust     > 00 00 00"
std::string FormatTraceLine(const TraceRun& run);

// A short name of a sequence step, for trace lines.
std::string_view StepName(std::int32_t step);

// The trace file every board's port writes to, a whole line at a time.
class TraceLog {
 public:
  // path "-" is stderr. Nothing when the file cannot be created; error then says why.
  static std::unique_ptr<TraceLog> Open(const std::string& path, std::string& error);
  ~TraceLog();
  TraceLog(const TraceLog&) = delete;
  TraceLog& operator=(const TraceLog&) = delete;

  // Milliseconds since the trace began.
  std::uint32_t NowMs();
  void Write(const TraceRun& run);
  // Why the first line that did not reach the file was lost; empty while none was.
  std::string Error();

 private:
  TraceLog(std::FILE* file, bool owned) : file_(file), owned_(owned), startMs_(clock_.NowMs()) {}

  std::mutex mutex_;
  std::FILE* file_;
  bool owned_;
  std::string error_;
  platform::MonotonicClock clock_;
  std::uint32_t startMs_;
};

}  // namespace vantrel::cli
