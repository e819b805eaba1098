#include "cli/records/trace_log.h"

#include "platform/file_access.h"

#include <cerrno>
#include <cstring>

namespace vantrel::cli {

std::string_view StepName(std::int32_t step) {
  switch (step) {
    case 0:
      return "idle";
    case 1:
      return "start";
    case 2:
      return "adjust";
    case 3:
      return "protocol";
    case 4:
    case 5:
      return "transfer";
    case 6:
    case 7:
      return "load";
    case 8:
    case 9:
      return "write";
    case 10:
    case 11:
      return "verify";
    case 12:
      return "complete";
    case 102:
      return "end";
    case 200:
    case 201:
    case 202:
      return "inquiry";
    default:
      return "?";
  }
}

std::string FormatTraceLine(const TraceRun& run) {
  char head[96];
  std::snprintf(head, sizeof head, "%8u ms  ", run.atMs);
  std::string line = head;
  if (!run.port.empty()) {
    line += run.port;
    line += "  ";
  }
  std::snprintf(head, sizeof head, "%6u baud  step %3d %-8s %c", run.baud, run.step,
                std::string(StepName(run.step)).c_str(), run.toTarget ? '>' : '<');
  line += head;
  for (const std::uint8_t byte : run.bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", byte);
    line += hex;
  }
  line += '\n';
  return line;
}

std::unique_ptr<TraceLog> TraceLog::Open(const std::string& path, std::string& error) {
  if (path == "-") return std::unique_ptr<TraceLog>(new TraceLog(stderr, false));
  std::FILE* file = platform::OpenFileForWriting(path);
  if (file == nullptr) {
    error = "cannot create the trace file " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<TraceLog>(new TraceLog(file, true));
}

TraceLog::~TraceLog() {
  if (owned_) {
    std::fclose(file_);
  } else {
    std::fflush(file_);
  }
}

std::uint32_t TraceLog::NowMs() {
  return clock_.NowMs() - startMs_;
}

void TraceLog::Write(const TraceRun& run) {
  const std::string line = FormatTraceLine(run);
  std::lock_guard lock(mutex_);
  // A trace is read after a job went wrong, possibly one that never ended cleanly: flushed.
  const bool written =
      std::fwrite(line.data(), 1, line.size(), file_) == line.size() && std::fflush(file_) == 0;
  if (!written && error_.empty()) error_ = std::strerror(errno);
}

std::string TraceLog::Error() {
  std::lock_guard lock(mutex_);
  return error_;
}

}  // namespace vantrel::cli
