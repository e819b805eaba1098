#include "config/file_locations.h"

#include <gtest/gtest.h>

#include "config/cpu_type_list.h"
#include "config/cpu_type_settings.h"
#include "objfile/control_folder.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using testing::Native;

TEST(DecideFileLocations, PortableUnlessTheFolderIsNotTheUsersAndThereIsAConfigFolder) {
  struct Case {
    const char* name;
    LocationFacts facts;
    bool installed;
    const char* settings;
    std::vector<std::string> controlFolders;
  };
  const Case cases[] = {
      {"own folder",
       {Native("/opt/v/vantrel"), true, Native("/h/.config"), ""},
       false,
       "/opt/v/vantrel.ini",
       {"/opt/v/CTRL_MOT"}},
      {"system bin",
       {Native("/usr/bin/vantrel"), false, Native("/h/.config"), Native("/usr/share/vantrel")},
       true,
       "/h/.config/vantrel/vantrel.ini",
       {"/h/.config/vantrel/CTRL_MOT", "/usr/share/vantrel/CTRL_MOT"}},
      {"no config folder",
       {Native("/usr/bin/vantrel"), false, "", Native("/usr/share/vantrel")},
       false,
       "/usr/bin/vantrel.ini",
       {"/usr/bin/CTRL_MOT", "/usr/share/vantrel/CTRL_MOT"}},
      {"data folder is the own one",
       {Native("/v/vantrel.exe"), true, "", Native("/v")},
       false,
       "/v/vantrel.ini",
       {"/v/CTRL_MOT"}},
  };
  for (const auto& c : cases) {
    const FileLocations where = DecideFileLocations(c.facts);
    EXPECT_EQ(where.installed, c.installed) << c.name;
    EXPECT_EQ(where.settingsPath, Native(c.settings)) << c.name;
    std::vector<std::string> expected;
    for (const auto& f : c.controlFolders) expected.push_back(Native(f));
    EXPECT_EQ(where.controlFolders, expected) << c.name;
    const std::string home = expected.front().substr(0, expected.front().size() - 8);
    EXPECT_EQ(where.autoPgmFolder, home + "@AUTO_PGM") << c.name;
    EXPECT_EQ(where.appMotFolder, home + "@APP_MOT") << c.name;
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
  EXPECT_EQ(ControlFolderFile(home.path(), "A.mot", data.path()), home.PathOf("CTRL_MOT/A.mot"));
  EXPECT_EQ(ControlFolderFile(home.path(), "B.inf", data.path()), data.PathOf("CTRL_MOT/B.inf"));
  EXPECT_EQ(ControlFolderFile(home.path(), "C.mot", data.path()), home.PathOf("CTRL_MOT/C.mot"));
  const struct {
    const char* cpuType;
    const char* baudB;
  } reads[] = {{"A.mot", "1200"}, {"B.inf", "4800"}, {"C.mot", "Undefined"}};
  for (const auto& r : reads) {
    EXPECT_EQ(ReadCpuTypeSettings(home.path(), r.cpuType, data.path())->BaudB, r.baudB)
        << r.cpuType;
  }
}

}  // namespace
}  // namespace vantrel
