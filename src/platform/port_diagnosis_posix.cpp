#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/port_diagnosis.h"
#include "platform/serial_device.h"

namespace vantrel::platform {
namespace {

namespace fs = std::filesystem;

std::string GroupName(gid_t gid) {
  group entry{};
  group* found = nullptr;
  std::string buffer(4096, '\0');
  if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return found->gr_name;
  }
  return std::to_string(gid);
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

std::vector<PortHolder> ProcessesHolding(const std::string& device, std::string_view procRoot) {
  std::vector<PortHolder> holders;
  struct stat target {};
  if (::stat(device.c_str(), &target) != 0) return holders;
  const std::string self = std::to_string(::getpid());
  std::error_code ec;
  for (fs::directory_iterator p(procRoot, ec), end; !ec && p != end; p.increment(ec)) {
    const std::string pid = p->path().filename().string();
    if (!AllDigits(pid) || pid == self) continue;
    std::error_code fdError;
    for (fs::directory_iterator fd(p->path() / "fd", fdError), fdEnd; !fdError && fd != fdEnd;
         fd.increment(fdError)) {
      struct stat open {};
      // stat follows the link to the open file: the same device node means the same port.
      if (::stat(fd->path().c_str(), &open) != 0) continue;
      if (open.st_rdev != target.st_rdev || open.st_ino != target.st_ino) continue;
      holders.push_back({std::atoi(pid.c_str()), ProcessName(p->path())});
      break;
    }
  }
  return holders;
}

PortDiagnosis DiagnosePort(std::string_view portName) {
  PortDiagnosis d;
  d.device = ResolvePortName(portName);
  struct stat st {};
  if (d.device.empty() || ::stat(d.device.c_str(), &st) != 0) {
    d.problem = PortDiagnosis::Problem::Missing;
    return d;
  }
  if (::access(d.device.c_str(), R_OK | W_OK) != 0) {
    d.problem = PortDiagnosis::Problem::NoPermission;
    d.group = GroupName(st.st_gid);
    return d;
  }
  d.holders = ProcessesHolding(d.device, "/proc");
  if (!d.holders.empty()) d.problem = PortDiagnosis::Problem::Busy;
  return d;
}

}  // namespace vantrel::platform
