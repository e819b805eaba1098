#include "platform/user_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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
    c.xdg ? ::setenv("XDG_CONFIG_HOME", c.xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
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

}  // namespace
}  // namespace vantrel::platform
