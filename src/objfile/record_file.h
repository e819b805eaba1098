#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vantrel {

// Record characters one read hands back at most; the line end does not count.
inline constexpr std::size_t kRecordLineLimit = 127;

// An S-record file read as bytes, one line per read. A line ends at LF; a CR just before the LF
// (or before the end of the file) belongs to the line end. A record longer than the limit comes
// back in pieces, and a record of exactly the limit leaves its bare line end for the next read.
class RecordFile {
 public:
  enum class Read { Line, EndOfFile, Error };

  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { Close(); }

  // Only a regular file opens: a folder would otherwise read as an empty program.
  bool Open(const std::string& path);
  bool IsOpen() const { return file_ != nullptr; }
  void Close();

  Read ReadLine(std::string& line);
  // The line of the file the last read came from, counted from 1; a long record's pieces share
  // their line. Kept after Close, so that a fault can still be placed.
  std::size_t lineNumber() const { return lineNumber_; }

 private:
  Read EndLine();

  std::FILE* file_ = nullptr;
  std::size_t lineNumber_ = 0;
  bool atLineStart_ = true;
};

// Where a loader stopped on a bad record, for a message that can point at it.
struct RecordFault {
  std::string_view code;  // "01".."10"
  std::size_t line = 0;
  std::string text;  // the record as it was read
};

}  // namespace vantrel
