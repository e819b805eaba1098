#include "platform/user_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/file_access.h"
#include "support/temp_folder.h"

namespace vantrel::platform {
namespace {

TEST(UserConfigBase, AnAbsoluteXdgConfigHomeElseTheHomesConfig) {
  const struct {
    const char* xdg;  // nullptr: unset
    const char* expected;
  } cases[] = {{"/x/cfg", "/x/cfg"}, {"rel/cfg", "/h/.config"}, {nullptr, "/h/.config"}};
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", "/h", 1);
  for (const auto& c : cases) {
    if (c.xdg)
      ::setenv("XDG_CONFIG_HOME", c.xdg, 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserConfigBase(), c.expected) << (c.xdg ? c.xdg : "unset");
  }
  ::setenv("HOME", home.c_str(), 1);
}

TEST(InstalledDataFolder, ShareBesideTheBinFolder) {
  for (const auto& [bin, data] :
       {std::pair{"/usr/bin", "/usr/share/vantrel"},
        std::pair{"/opt/v/bin/", "/opt/v/share/vantrel"}, std::pair{"/bin", "/share/vantrel"}}) {
    EXPECT_EQ(InstalledDataFolder(bin), data) << bin;
  }
}

TEST(FolderWritable, APrivateFolderAfterMakeFoldersAndNotOnceReadOnly) {
  testing::TempFolder base;
  const std::string folder = base.PathOf("a/b/vantrel");
  EXPECT_FALSE(FolderWritable(folder));
  ASSERT_TRUE(MakeFolders(folder));
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_TRUE(FolderWritable(folder));
  ::chmod(folder.c_str(), 0500);
  // Root may write anywhere.
  EXPECT_EQ(FolderWritable(folder), ::geteuid() == 0);
  ::chmod(folder.c_str(), 0700);
}

}  // namespace
}  // namespace vantrel::platform
