#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/file_access.h"
#include "platform/path_separators.h"
#include "platform/user_folders.h"

namespace vantrel::platform {
namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

std::string UserConfigBase() {
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') return xdg;
  const std::string home = HomeFolder();
  return home.empty() ? home : JoinPath(home, ".config");
}

std::string InstalledDataFolder(std::string_view exeFolder) {
  while (exeFolder.size() > 1 && exeFolder.back() == '/') exeFolder.remove_suffix(1);
  const auto slash = exeFolder.find_last_of('/');
  std::string prefix;
  if (slash == std::string_view::npos) {
    prefix = JoinPath(exeFolder, "..");
  } else {
    prefix = exeFolder.substr(0, slash == 0 ? 1 : slash);
  }
  return JoinPath(JoinPath(prefix, "share"), "vantrel");
}

bool MakeFolders(const std::string& path) {
  if (path.empty() || IsFolder(path)) return !path.empty();
  const auto slash = path.find_last_of('/', path.size() - 2);
  if (slash != std::string::npos && slash > 0) MakeFolders(path.substr(0, slash));
  // The configuration folder is private, as the base-directory rules ask.
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return IsFolder(path);
}

}  // namespace vantrel::platform
