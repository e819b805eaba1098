#include "config/cpu_type_list.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(ListCpuTypes, WriteControlFilesSortedWithoutRegardToCase) {
  testing::TempFolder folder;
  for (const char* name : {"C.MOT", "b.inf", "A.mot", "d.Inf", "Baud.ini", "readme.txt",
                           "x.mot.bak", ".hidden.mot", "mot", "e.mo"}) {
    folder.Write(std::string("CTRL_MOT/") + name, "S9030000FC\n");
  }
  std::filesystem::create_directories(folder.PathOf("CTRL_MOT/folder.mot"));
  EXPECT_EQ(ListCpuTypes(folder.path()),
            (std::vector<std::string>{"A.mot", "b.inf", "C.MOT", "d.Inf"}));
}

TEST(ListCpuTypes, MissingFolderGivesAnEmptyList) {
  testing::TempFolder folder;
  EXPECT_TRUE(ListCpuTypes(folder.path()).empty());
}

}  // namespace
}  // namespace vantrel
