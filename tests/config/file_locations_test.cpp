#include "config/file_locations.h"

#include <gtest/gtest.h>

#include "config/cpu_type_list.h"
#include "config/cpu_type_settings.h"
#include "config/control_folder.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using testing::Native;

TEST(DecideFileLocations, PortableUnlessTheFolderIsNotTheUsersAndThereIsAConfigFolder) {
  const struct {
    const char *exe, *config, *data;
    bool writable, installed;
    const char *home, *settings, *searched;  // searched: the second CTRL_MOT's folder, or ""
  } cases[] = {
      {"/opt/v/vantrel", "/h/.c", "", true, false, "/opt/v", "/opt/v/vantrel.ini", ""},
      {"/usr/bin/vantrel", "/h/.c", "/usr/share/vantrel", false, true, "/h/.c/vantrel",
       "/h/.c/vantrel/vantrel.ini", "/usr/share/vantrel"},
      {"/usr/bin/vantrel", "", "/usr/share/vantrel", false, false, "/usr/bin",
       "/usr/bin/vantrel.ini", "/usr/share/vantrel"},
      {"/v/vantrel.exe", "", "/v", true, false, "/v", "/v/vantrel.ini", ""},
  };
  for (const auto& c : cases) {
    const FileLocations where =
        DecideFileLocations({Native(c.exe), c.writable, Native(c.config), Native(c.data)});
    const std::string home = Native(c.home);
    std::vector<std::string> folders{home + Native("/CTRL_MOT")};
    if (*c.searched) folders.push_back(Native(std::string(c.searched) + "/CTRL_MOT"));
    EXPECT_EQ(where.installed, c.installed) << c.exe;
    EXPECT_EQ(where.settingsPath, Native(c.settings)) << c.exe;
    EXPECT_EQ(where.controlFolders, folders) << c.exe;
    EXPECT_EQ(where.autoPgmFolder, home + Native("/@AUTO_PGM")) << c.exe;
  }
}

// The user's CTRL_MOT comes first; the installed one adds the CPU types the user lacks, each
// read with the Baud.ini beside its own file.
TEST(InstalledControlFolder, TheUsersFilesWinAndTheRestComeFromTheDataFolder) {
  testing::TempFolder home, data;
  home.Write("CTRL_MOT/A.mot", "S9030000FC\n");
  home.Write("CTRL_MOT/Baud.ini", "[A.mot]\nBaudB=1200\n");
  for (const char* name : {"A.mot", "B.inf"}) data.Write(std::string("CTRL_MOT/") + name, "x");
  data.Write("CTRL_MOT/Baud.ini", "[A.mot]\nBaudB=2400\n[B.inf]\nBaudB=4800\n");

  EXPECT_EQ(ListCpuTypes(home.path(), data.path()), (std::vector<std::string>{"A.mot", "B.inf"}));
  const struct {
    const char* cpuType;
    std::string file;
    const char* baudB;
  } cases[] = {{"A.mot", home.PathOf("CTRL_MOT/A.mot"), "1200"},
               {"B.inf", data.PathOf("CTRL_MOT/B.inf"), "4800"},
               {"C.mot", home.PathOf("CTRL_MOT/C.mot"), "Undefined"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ControlFolderFile(home.path(), c.cpuType, data.path()), c.file);
    EXPECT_EQ(ReadCpuTypeSettings(home.path(), c.cpuType, data.path())->BaudB, c.baudB);
  }
}

}  // namespace
}  // namespace vantrel
