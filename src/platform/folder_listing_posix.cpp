#include <dirent.h>
#include <sys/stat.h>

#include "platform/folder_listing.h"

namespace vantrel::platform {

std::vector<FolderEntry> ListFolder(std::string_view folder) {
  std::vector<FolderEntry> entries;
  const std::string path(folder);
  DIR* dir = ::opendir(path.c_str());
  if (dir == nullptr) return entries;
  while (const dirent* d = ::readdir(dir)) {
    const std::string name = d->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    const bool known = ::stat((path + "/" + name).c_str(), &st) == 0;
    entries.push_back({name, known && S_ISREG(st.st_mode), name.front() == '.'});
  }
  ::closedir(dir);
  return entries;
}

}  // namespace vantrel::platform
