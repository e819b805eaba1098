#include "config/path_rules.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(PathRules, FolderPartAndExtension) {
  const struct {
    const char* path;
    const char* folder;
    const char* extension;
  } cases[] = {
      {"/work/app.mot", "/work", ".mot"},
      {"/app.S", "/", ".S"},  // the root keeps its separator
      {"//share/x.s", "//share", ".s"},
      {"/a//b.mot", "/a//", ".mot"},  // a separator after a separator stays
      {"app.mot", "", ".mot"},
      {"/work.d/app", "/work.d", ""},  // a dot in the folder is no extension
      {"/work/app.mot.bak", "/work", ".bak"},
      {"/作業/プログラム.mot", "/作業", ".mot"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderPart(testing::Native(c.path)), testing::Native(c.folder)) << c.path;
    EXPECT_EQ(FileExtension(testing::Native(c.path)), c.extension) << c.path;
  }
}

TEST(PathRules, OnlyMotAndSInAnyCaseAreUserPrograms) {
  for (const char* good : {"a.mot", "a.MOT", "a.Mot", "/x/a.s", "a.S"}) {
    EXPECT_TRUE(IsUserProgramExtension(testing::Native(good))) << good;
  }
  for (const char* bad : {"a.mot.bak", "a.hex", "a", "", "/x.mot/a", "a.ini", "a.motx"}) {
    EXPECT_FALSE(IsUserProgramExtension(testing::Native(bad))) << bad;
  }
}

TEST(PathRules, CutFirstFolderLeavesAnEllipsis) {
  const struct {
    const char* folder;
    const char* cut;
  } cases[] = {
      {"/Work/Proj/Sub/", "/.../Proj/Sub/"},
      {"/.../Proj/Sub/", "/.../Sub/"},
      {"/.../Sub/", "/.../"},
      {".../", ""},
      {"/", ""},
      {"Work/Sub/", ".../Sub/"},
      {"Work", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CutFirstFolder(testing::Native(c.folder)), testing::Native(c.cut)) << c.folder;
  }
}

TEST(PathRules, ShortenPathStopsAtTheFirstFormThatFits) {
  // One pixel a byte.
  const auto width = [](std::string_view s) { return static_cast<int>(s.size()); };
  const std::string path = testing::Native("/Work/Proj/Sub/file.mot");
  const struct {
    int maxWidth;
    const char* shown;
  } cases[] = {
      {100, "/Work/Proj/Sub/file.mot"},
      {23, "/Work/Proj/Sub/file.mot"},
      {22, "/.../Proj/Sub/file.mot"},
      {18, "/.../Sub/file.mot"},
      {13, "/.../file.mot"},
      {12, ".../file.mot"},
      {11, "file.mot"},
      {3, "file.mot"},  // nothing left to cut
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShortenPath(path, width, c.maxWidth), testing::Native(c.shown)) << c.maxWidth;
  }
  EXPECT_EQ(ShortenPath("file.mot", width, 2), "file.mot");
}

#ifdef _WIN32
TEST(PathRules, DrivesOnWindows) {
  const auto width = [](std::string_view s) { return static_cast<int>(s.size()); };
  EXPECT_EQ(FolderPart("C:\\app.mot"), "C:\\");
  EXPECT_EQ(FolderPart("C:app.mot"), "C:");
  EXPECT_EQ(FolderPart("C:\\Work\\app.mot"), "C:\\Work");
  const std::string path = "C:\\Work\\Proj\\Sub\\file.mot";
  EXPECT_EQ(ShortenPath(path, width, 24), "C:\\...\\Proj\\Sub\\file.mot");
  EXPECT_EQ(ShortenPath(path, width, 19), "C:\\...\\Sub\\file.mot");
  EXPECT_EQ(ShortenPath(path, width, 15), "C:\\...\\file.mot");
  EXPECT_EQ(ShortenPath(path, width, 14), "...\\file.mot");
  EXPECT_EQ(ShortenPath(path, width, 11), "file.mot");
}
#endif

}  // namespace
}  // namespace vantrel
