#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vantrel::platform {

// A new folder in the system's temporary folder that only this user may enter, removed with the
// files in it when the object goes (a folder within it is not expected).
class PrivateFolder {
 public:
  // "prefix-" and a unique part; nullptr when no folder could be made.
  static std::unique_ptr<PrivateFolder> Make(std::string_view prefix);

  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  explicit PrivateFolder(std::string path) : path_(std::move(path)) {}
  std::string path_;
};

}  // namespace vantrel::platform
