#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/port_diagnosis.h"
#include "platform/serial_device.h"
#include "platform/text.h"

namespace vantrel::platform {
namespace {

namespace fs = std::filesystem;
using Membership = PortDiagnosis::Membership;

std::string GroupName(gid_t gid) {
  group entry{};
  group* found = nullptr;
  std::string buffer(4096, '\0');
  if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return found->gr_name;
  }
  return std::to_string(gid);
}

// The user's name and login group, or the number alone when the user database has no entry.
std::pair<std::string, gid_t> UserOf(uid_t uid) {
  passwd entry{};
  passwd* found = nullptr;
  std::string buffer(4096, '\0');
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return {found->pw_name, found->pw_gid};
  }
  return {std::to_string(uid), ::getgid()};
}

std::string ModeText(mode_t mode) {
  std::string text = S_ISCHR(mode)    ? "c"
                     : S_ISDIR(mode)  ? "d"
                     : S_ISBLK(mode)  ? "b"
                     : S_ISFIFO(mode) ? "p"
                     : S_ISSOCK(mode) ? "s"
                                      : "-";
  const char* letters = "rwxrwxrwx";
  for (int bit = 0; bit < 9; ++bit) text += (mode & (0400 >> bit)) ? letters[bit] : '-';
  return text;
}

bool InGroups(gid_t gid, const gid_t* groups, int count) {
  return std::find(groups, groups + std::max(count, 0), gid) != groups + std::max(count, 0);
}

// A group added to the user takes effect only at the next login: the database and this
// process's groups can disagree, and that is the commonest reason the port still refuses.
Membership MembershipOf(gid_t gid, const std::string& user, gid_t loginGroup) {
  gid_t groups[256];
  const int count = ::getgroups(256, groups);
  if (::getegid() == gid || InGroups(gid, groups, count)) return Membership::Member;
  int listed = 256;
  if (::getgrouplist(user.c_str(), loginGroup, groups, &listed) >= 0 &&
      InGroups(gid, groups, listed)) {
    return Membership::ListedButNotThisLogin;
  }
  return Membership::NotListed;
}

std::string ProcessName(const fs::path& processDir) {
  std::ifstream in(processDir / "comm");
  std::string name;
  std::getline(in, name);
  return name;
}

bool AllDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

void FindProcessesHolding(PortDiagnosis& d, std::string_view procRoot) {
  struct stat target {};
  if (::stat(d.device.c_str(), &target) != 0) return;
  const std::string self = std::to_string(::getpid());
  std::error_code ec;
  for (fs::directory_iterator p(procRoot, ec), end; !ec && p != end; p.increment(ec)) {
    const std::string pid = p->path().filename().string();
    if (!AllDigits(pid) || pid == self) continue;
    std::error_code fdError;
    fs::directory_iterator fd(p->path() / "fd", fdError);
    // A process that ended meanwhile is gone (ENOENT); any other refusal hides what it holds.
    if (fdError) {
      if (fdError != std::errc::no_such_file_or_directory) ++d.unseenProcesses;
      continue;
    }
    for (fs::directory_iterator fdEnd; !fdError && fd != fdEnd; fd.increment(fdError)) {
      struct stat open {};
      // stat follows the link to the open file: the same device node means the same port.
      if (::stat(fd->path().c_str(), &open) != 0) continue;
      if (open.st_rdev != target.st_rdev || open.st_ino != target.st_ino) continue;
      d.holders.push_back({ReadLeadingDecimal(pid), ProcessName(p->path())});
      break;
    }
  }
}

PortDiagnosis DiagnosePort(std::string_view portName) {
  PortDiagnosis d;
  d.device = ResolvePortName(portName);
  struct stat st {};
  if (d.device.empty() || ::stat(d.device.c_str(), &st) != 0) {
    d.problem = PortDiagnosis::Problem::Missing;
    return d;
  }
  d.owner = UserOf(st.st_uid).first;
  d.group = GroupName(st.st_gid);
  d.mode = ModeText(st.st_mode);
  const auto [user, loginGroup] = UserOf(::geteuid());
  d.user = user;
  d.membership = MembershipOf(st.st_gid, user, loginGroup);
  if (!S_ISCHR(st.st_mode)) {
    d.problem = PortDiagnosis::Problem::NotADevice;
    return d;
  }
  if (::access(d.device.c_str(), R_OK | W_OK) != 0) {
    d.problem = PortDiagnosis::Problem::NoPermission;
    return d;
  }
  FindProcessesHolding(d, "/proc");
  if (!d.holders.empty()) d.problem = PortDiagnosis::Problem::Busy;
  return d;
}

}  // namespace vantrel::platform
