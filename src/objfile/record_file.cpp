#include "objfile/record_file.h"

#include "platform/file_access.h"

namespace vantrel {

bool RecordFile::Open(const std::string& path) {
  Close();
  file_ = platform::OpenFileForReading(path);
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
  bool sawAnything = false;
  while (line.size() < kRecordLineLimit) {
    const int c = std::getc(file_);
    if (c == EOF) break;
    sawAnything = true;
    if (c == '\n') return Read::Line;
    if (c == '\r') {
      const int next = std::getc(file_);
      if (next == '\n' || next == EOF) return Read::Line;
      std::ungetc(next, file_);
    }
    line.push_back(static_cast<char>(c));
  }
  if (std::ferror(file_)) return Read::Error;
  return sawAnything ? Read::Line : Read::EndOfFile;
}

}  // namespace vantrel
