#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/folder_listing.h"
#include "platform/private_folder.h"

namespace vantrel::platform {

std::unique_ptr<PrivateFolder> PrivateFolder::Make(std::string_view prefix) {
  const char* temp = std::getenv("TMPDIR");
  std::string path = (temp != nullptr && *temp != '\0') ? temp : "/tmp";
  path += "/" + std::string(prefix) + "-XXXXXX";
  // mkdtemp makes the folder with mode 0700.
  if (::mkdtemp(path.data()) == nullptr) return nullptr;
  return std::unique_ptr<PrivateFolder>(new PrivateFolder(path));
}

PrivateFolder::~PrivateFolder() {
  for (const auto& entry : ListFolder(path_)) ::unlink((path_ + "/" + entry.name).c_str());
  ::rmdir(path_.c_str());
}

}  // namespace vantrel::platform
