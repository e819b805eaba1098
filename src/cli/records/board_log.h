#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "cli/records/job_report.h"
#include "platform/append_file.h"

namespace vantrel::cli {

// The station's log: one JSON object per board job on a line of its own, appended and on the disk
// as soon as the job ends, so that a crash loses at most the job that was running.
class BoardLog {
 public:
  // Nothing, and why, when the file cannot be opened for appending.
  static std::unique_ptr<BoardLog> Open(const std::string& path, std::string& error);

  // False when the line did not reach the disk. Safe from the threads of several boards.
  bool Add(const BoardRecord& record);

 private:
  BoardLog(std::unique_ptr<platform::AppendFile> file, std::string hostName)
      : file_(std::move(file)), hostName_(std::move(hostName)) {}

  std::unique_ptr<platform::AppendFile> file_;
  std::string hostName_;
};

// The report's object of the board and the station's host name, on one line.
std::string BoardLogLine(const BoardRecord& record, std::string_view hostName);

}  // namespace vantrel::cli
