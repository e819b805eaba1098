#include "config/cpu_type_settings.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

class CpuTypeSettingsTest : public ::testing::Test {
 protected:
  void WriteBaudIni(const std::string& text) { folder.Write("CTRL_MOT/Baud.ini", text); }
  CpuTypeSettings Read(std::string_view cpuType) {
    const auto s = ReadCpuTypeSettings(folder.path(), cpuType);
    EXPECT_TRUE(s.has_value()) << cpuType;
    return s.value_or(CpuTypeSettings{"?", "?", -1, 0xDEAD});
  }
  testing::TempFolder folder;
};

TEST_F(CpuTypeSettingsTest, ReadsTheSectionOfTheCpuType) {
  WriteBaudIni(
      "[A.mot]\nBaudB=9600\nBaudP=7200\nBlockSize=256\nRomBaseAddr=FFFF80\n"
      "[B.inf]\nBaudB=19200\n");
  const auto a = Read("A.mot");
  EXPECT_EQ(a.BaudB, "9600");
  EXPECT_EQ(a.BaudP, "7200");
  EXPECT_EQ(a.BlockSize, 256);
  EXPECT_EQ(a.RomBaseAddr, 0xFFFF80u);
  const auto b = Read("b.INF");  // section names ignore case
  EXPECT_EQ(b.BaudB, "19200");
  EXPECT_EQ(b.BaudP, "Undefined");
  EXPECT_EQ(b.BlockSize, 128);
  EXPECT_EQ(b.RomBaseAddr, 0u);
}

TEST_F(CpuTypeSettingsTest, MissingFileOrSectionGivesDefaults) {
  for (const bool withFile : {false, true}) {
    if (withFile) WriteBaudIni("[Other.mot]\nBlockSize=256\n");
    const auto s = Read("Undefined");
    EXPECT_EQ(s.BaudB, "Undefined");
    EXPECT_EQ(s.BaudP, "Undefined");
    EXPECT_EQ(s.BlockSize, 128);
    EXPECT_EQ(s.RomBaseAddr, 0u);
  }
}

TEST_F(CpuTypeSettingsTest, ValuesAreReturnedForTheWindowToJudge) {
  const struct {
    const char* blockSize;
    std::int32_t expected;
    const char* romBase;
    std::uint32_t base;
  } cases[] = {
      {"512", 512, "0x1000", 0},
      {"0x100", 256, "200H", 0x200},
      {"abc", 128, "123456789A", 0x3456789A},
      {"", 128, "", 0},
  };
  for (const auto& c : cases) {
    WriteBaudIni(std::string("[T.mot]\nBlockSize=") + c.blockSize + "\nRomBaseAddr=" + c.romBase +
                 "\n");
    const auto s = Read("T.mot");
    EXPECT_EQ(s.BlockSize, c.expected) << c.blockSize;
    EXPECT_EQ(s.RomBaseAddr, c.base) << c.romBase;
  }
}

TEST_F(CpuTypeSettingsTest, EmptyCpuTypeReadsNothing) {
  WriteBaudIni("[]\nBlockSize=256\n");
  EXPECT_FALSE(ReadCpuTypeSettings(folder.path(), "").has_value());
}

}  // namespace
}  // namespace vantrel
