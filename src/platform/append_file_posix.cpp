#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/append_file.h"

namespace vantrel::platform {

AppendFile::~AppendFile() {
  ::close(static_cast<int>(handle_));
}

std::unique_ptr<AppendFile> AppendFile::Open(const std::string& path, std::string& error) {
  // O_NONBLOCK: a FIFO with no reader must refuse, not hold the program up. Read access to see
  // whether the last record ended.
  constexpr int kFlags = O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK;
  int fd = ::open(path.c_str(), O_RDWR | kFlags, 0666);
  if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_WRONLY | kFlags, 0666);
  if (fd < 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = "not a regular file";
    return nullptr;
  }
  return std::unique_ptr<AppendFile>(new AppendFile(fd));
}

bool AppendFile::Append(std::string_view bytes) {
  const int fd = static_cast<int>(handle_);
  const std::lock_guard<std::mutex> hold(appending_);
  std::string record;
  // A record cut short earlier (by a full disk, or by another program) is not this one's start.
  struct stat st {};
  char last = '\n';
  if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 &&
      last != '\n') {
    record = "\n";
  }
  record += bytes;
  // One write: with O_APPEND the record lands whole at the end, whoever else appends.
  ssize_t n = 0;
  do {
    n = ::write(fd, record.data(), record.size());
  } while (n < 0 && errno == EINTR);
  if (n == static_cast<ssize_t>(record.size())) return ::fsync(fd) == 0;
  // Part of a record is no record: cut it off again, unless another record follows it already.
  const off_t end = ::lseek(fd, 0, SEEK_CUR);
  if (n > 0 && end >= n && ::fstat(fd, &st) == 0 && st.st_size == end) {
    [[maybe_unused]] const int cut = ::ftruncate(fd, end - n);
  }
  return false;
}

}  // namespace vantrel::platform
