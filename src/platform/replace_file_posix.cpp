#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <random>

#include "platform/replace_file.h"

namespace vantrel::platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

FileFault FaultOf(int error) {
  if (error == EACCES || error == EPERM) return FileFault::NoPermission;
  if (error == ENOENT || error == ENOTDIR) return FileFault::NoFolder;
  return FileFault::Other;
}

// Made with 0666, so that the umask decides a new file's mode, as it does for any other program.
int MakeTemporary(const std::string& path, std::string& temp) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TemporaryName(path, (std::uint64_t{random()} << 32) | random());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view bytes, FileFault* fault) {
  FileFault ignored;
  FileFault& why = fault != nullptr ? *fault : ignored;
  why = FileFault::Other;
  bool existing = false;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
      why = FileFault::NoPermission;
      return false;
    }
    existing = true;
  }
  std::string temp;
  const int fd = MakeTemporary(path, temp);
  if (fd < 0) {
    why = FaultOf(errno);
    return false;
  }
  bool ok = (!existing || ::fchmod(fd, st.st_mode & 07777) == 0) && WriteAll(fd, bytes) &&
            ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    why = FaultOf(errno);
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself is durable only once the folder is on disk.
  const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  why = FileFault::None;
  return true;
}

void RemoveStaleTemporaries(const std::string& path, std::uint32_t minAgeSeconds) {
  const std::string folder = FolderOf(path);
  const auto slash = path.rfind('/');
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryOf(entry->d_name, base)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode) && now - st.st_mtime >= static_cast<std::time_t>(minAgeSeconds)) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
  }
  ::closedir(dir);
}

}  // namespace vantrel::platform
