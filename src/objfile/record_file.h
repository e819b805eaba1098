#pragma once

#include <cstdio>
#include <string>

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

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace vantrel
