#include "objfile/record_file.h"

#include "platform/file_access.h"

namespace vantrel {

bool RecordFile::Open(const std::string& path) {
  Close();
  file_ = platform::OpenFileForReading(path);
  lineNumber_ = 0;
  atLineStart_ = true;
  return file_ != nullptr;
}

void RecordFile::Close() {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

RecordFile::Read RecordFile::ReadLine(std::string& line) {
  line.clear();
  if (file_ == nullptr) return Read::Error;
  if (atLineStart_) ++lineNumber_;
  atLineStart_ = false;
  bool sawAnything = false;
  while (line.size() < kRecordLineLimit) {
    const int c = std::getc(file_);
    if (c == EOF) break;
    sawAnything = true;
    if (c == '\n') return EndLine();
    if (c == '\r') {
      const int next = std::getc(file_);
      if (next == '\n' || next == EOF) return EndLine();
      std::ungetc(next, file_);
    }
    line.push_back(static_cast<char>(c));
  }
  if (std::ferror(file_)) return Read::Error;
  return sawAnything ? Read::Line : Read::EndOfFile;
}

RecordFile::Read RecordFile::EndLine() {
  atLineStart_ = true;
  return Read::Line;
}

}  // namespace vantrel
