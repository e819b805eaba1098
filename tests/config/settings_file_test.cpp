#include "config/settings_file.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "support/full_disk.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(SettingsPath, ExtensionReplacedOrAppended) {
  EXPECT_EQ(SettingsPathFor("/opt/vantrel/vantrel"), "/opt/vantrel/vantrel.ini");
  EXPECT_EQ(SettingsPathFor("/opt/v.1/vantrel.bin"), "/opt/v.1/vantrel.ini");
  EXPECT_EQ(SettingsPathFor("/opt/v.1/vantrel"), "/opt/v.1/vantrel.ini");
}

class SettingsFileTest : public ::testing::Test {
 protected:
  std::string path() const { return folder.PathOf("vantrel.ini"); }
  testing::TempFolder folder;
};

TEST_F(SettingsFileTest, MissingFileGivesTheDefaults) {
  const auto v = ReadSettingsFile(path(), "/exe");
  EXPECT_EQ(v.Left, 0);
  EXPECT_EQ(v.Top, 0);
  EXPECT_TRUE(v.Snap);
  EXPECT_EQ(v.PortNo, "COM1");
  EXPECT_EQ(v.BaudB, "9600");
  EXPECT_EQ(v.BaudP, "38400");
  EXPECT_EQ(v.CPU, "Undefined");
  EXPECT_FALSE(v.Verify);
  EXPECT_EQ(v.OD1_Path, "/exe");
  EXPECT_EQ(v.MOT_Path, "");
  EXPECT_EQ(v.Cadence, "fast");
}

TEST_F(SettingsFileTest, ValueRules) {
  const struct {
    const char* lines;
    bool verify;
    bool snap;
    std::int32_t left;
  } cases[] = {
      {"[Writer]\nVerify=2\n", true, true, 0},  // any non-zero number is on
      {"[Writer]\nVerify=yes\n[Position]\nSnap=yes\n", false, true, 0},  // not numbers
      {"[Position]\nSnap=0\nLeft=0x20\n", false, false, 32},
      {"[position]\nleft = -50 \n", false, true, -50},  // placing moves it to 0
  };
  for (const auto& c : cases) {
    folder.Write("vantrel.ini", c.lines);
    const auto v = ReadSettingsFile(path(), "");
    EXPECT_EQ(v.Verify, c.verify) << c.lines;
    EXPECT_EQ(v.Snap, c.snap) << c.lines;
    EXPECT_EQ(v.Left, c.left) << c.lines;
  }
}

TEST_F(SettingsFileTest, CreatedFileHasItsSectionsAndKeysInWritingOrder) {
  SettingsValues v;
  v.Left = 12;
  v.Top = 34;
  v.PortNo = "/dev/ttyUSB0";
  v.CPU = "VTC-100.mot";
  v.Verify = true;
  v.OD1_Path = "/home/u/プログラム";
  v.MOT_Path = "/home/u/プログラム/app.mot";
  ASSERT_TRUE(WriteSettingsFile(path(), v));
  // A new file is in the system's own encoding: Shift-JIS under the Windows tests' code page.
  const std::string folderName = platform::NativeCodePage() == platform::kUtf8CodePage
                                     ? "プログラム"
                                     : "\x83v\x83\x8D\x83O\x83\x89\x83\x80";
  EXPECT_EQ(folder.Read("vantrel.ini"),
            "[Position]\nTop=34\nLeft=12\nSnap=1\n"
            "[CommPort]\nPortNo=/dev/ttyUSB0\nBaudB=9600\nBaudP=38400\n"
            "[Writer]\nCPU=VTC-100.mot\nVerify=1\n"
            "[Path]\nOD1_Path=/home/u/" +
                folderName + "\nMOT_Path=/home/u/" + folderName + "/app.mot\n");
  const auto back = ReadSettingsFile(path(), "");
  EXPECT_EQ(back.Left, 12);
  EXPECT_EQ(back.Top, 34);
  EXPECT_EQ(back.PortNo, v.PortNo);
  EXPECT_EQ(back.CPU, v.CPU);
  EXPECT_TRUE(back.Verify);
  EXPECT_EQ(back.OD1_Path, v.OD1_Path);
  EXPECT_EQ(back.MOT_Path, v.MOT_Path);
}

TEST_F(SettingsFileTest, ExistingFileKeepsItsOtherContentAndKeyPlaces) {
  folder.Write("vantrel.ini",
               "; kept\n[Writer]\nVerify=0\nExtra=1\nCPU=old\n\n[Mine]\nX=y\n[Position]\nLeft=1\n");
  SettingsValues v;
  v.CPU = "new.inf";
  v.Cadence = "10ms";  // only ever read
  ASSERT_TRUE(WriteSettingsFile(path(), v));
  EXPECT_EQ(folder.Read("vantrel.ini"),
            "; kept\n[Writer]\nVerify=0\nExtra=1\nCPU=new.inf\n\n[Mine]\nX=y\n"
            "[Position]\nLeft=0\nTop=0\nSnap=1\n"
            "[CommPort]\nPortNo=COM1\nBaudB=9600\nBaudP=38400\n"
            "[Path]\nOD1_Path=\nMOT_Path=\n");
}

#ifndef _WIN32
// The ten keys are saved with one replace of the file: a disk that fills up on the way leaves the
// old file whole, not some of the keys written. A file size limit in a child stands in for it.
TEST_F(SettingsFileTest, AFailedSaveLeavesTheOldFileWhole) {
  folder.Write("vantrel.ini", "[Writer]\nCPU=old\n");
  SettingsValues v;
  v.MOT_Path = std::string(8192, 'm');
  EXPECT_EQ(testing::WriteOnAFullDisk(4096, [&] { return WriteSettingsFile(path(), v); }), false);
  EXPECT_EQ(folder.Read("vantrel.ini"), "[Writer]\nCPU=old\n");
}
#endif

}  // namespace
}  // namespace vantrel
