#include "objfile/record_file.h"

#include <filesystem>
#include <system_error>

namespace vantrel {

bool RecordFile::Open(const std::string& path) {
  Close();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  file_ = std::fopen(path.c_str(), "rb");
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
