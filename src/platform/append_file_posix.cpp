#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/append_file.h"

namespace vantrel::platform {

AppendFile::~AppendFile() {
  ::close(static_cast<int>(handle_));
}

std::unique_ptr<AppendFile> AppendFile::Open(const std::string& path, std::string& error) {
  // O_NONBLOCK: a FIFO with no reader must refuse, not hold the program up.
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
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
  // One write: with O_APPEND the record lands whole at the end, whoever else appends.
  ssize_t n = 0;
  do {
    n = ::write(fd, bytes.data(), bytes.size());
  } while (n < 0 && errno == EINTR);
  return n == static_cast<ssize_t>(bytes.size()) && ::fsync(fd) == 0;
}

}  // namespace vantrel::platform
