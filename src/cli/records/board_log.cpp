#include "cli/records/board_log.h"

#include "platform/host_name.h"

namespace vantrel::cli {

std::unique_ptr<BoardLog> BoardLog::Open(const std::string& path, std::string& error) {
  std::string why;
  auto file = platform::AppendFile::Open(path, why);
  if (!file) {
    error = "the log " + path + " cannot be opened for appending: " + why;
    return nullptr;
  }
  return std::unique_ptr<BoardLog>(new BoardLog(std::move(file), platform::HostName()));
}

bool BoardLog::Add(const BoardRecord& record) {
  return file_->Append(BoardLogLine(record, hostName_));
}

std::string BoardLogLine(const BoardRecord& record, std::string_view hostName) {
  const JsonField host[] = {{"hostName", JsonString(hostName)}};
  return FormatBoardObject(record, JsonLayout::OneLine, host) + "\n";
}

}  // namespace vantrel::cli
