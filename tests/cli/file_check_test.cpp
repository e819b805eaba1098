#include "cli/program/file_check.h"

#include <gtest/gtest.h>

#include "support/case_name.h"
#include "support/temp_folder.h"

namespace vantrel::cli {
namespace {

using testing::TempFolder;

struct FileCase {
  const char* name;
  const char* program;  // the user program's text; nullptr: no such file
  const char* cpuType;
  std::string message;  // a part of the message; empty: nothing is wrong
  std::string hint;     // a part of the hint
};

class CheckJobFilesTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(CheckJobFilesTest, FindsWhatWouldFailTheJob) {
  const FileCase& c = GetParam();
  TempFolder home;
  home.Write("CTRL_MOT/VTC-100.mot", "S1060000010203F3\n");
  home.Write("CTRL_MOT/VTC-200.inf", "[BootDef]\n");
  const JobSettings settings{.cpuType = c.cpuType,
                             .userProgram = home.PathOf("prog.mot"),
                             .romBase = 0x1000,
                             .exeFolder = home.path()};
  if (c.program != nullptr) home.Write("prog.mot", c.program);
  const auto problem = CheckJobFiles(settings);
  if (c.message.empty()) {
    EXPECT_FALSE(problem) << problem->message;
    return;
  }
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->message.find(c.message), std::string::npos) << problem->message;
  EXPECT_NE(problem->hint.find(c.hint), std::string::npos) << problem->hint;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CheckJobFilesTest,
    ::testing::Values(
        FileCase{"Good", "S0030000FC\nS1051000AABB85\nS9030000FC\n", "VTC-100.mot", "", ""},
        FileCase{"Missing", nullptr, "VTC-100.mot", "書き込むファイルがオープンできません",
                 "prog.mot does not exist"},
        FileCase{"NotSRecords", "# Vantrel\n", "VTC-100.mot", " Ｓフォーマット異常 No.01",
                 "prog.mot line 1: it does not begin with S"},
        FileCase{"CountRecord", "S1051000AABB85\nS5030001FB\n", "VTC-100.mot",
                 " Ｓフォーマット異常 No.03", "line 2: an S5 record counts the records"},
        FileCase{"BadChecksum", "S1051000AABB84\n", "VTC-100.mot", " Ｓフォーマット異常 No.09",
                 "line 1: its checksum does not add up"},
        FileCase{"NoDataInTheWindow", "S1050000AABB95\n", "VTC-100.mot",
                 "holds no data in the ROM window 00001000-00100FFF", "RomBaseAddr"},
        FileCase{"DataPastTheTopAddress",
                 "S1051000AABB85\nS315FFFFFFF8000102030405060708090A0B0C0D0E0F7D\n", "VTC-100.mot",
                 "prog.mot line 2: its data runs past address 0xFFFFFFFF", ""},
        FileCase{"CpuTypeWithoutExtension", "S1051000AABB85\n", "vtc-100",
                 "書き込み制御ファイルがオープンできません", "did you mean VTC-100.mot?"},
        FileCase{"UnknownCpuType", "S1051000AABB85\n", "X.mot",
                 "書き込み制御ファイルがオープンできません",
                 "; there are: VTC-100.mot VTC-200.inf"},
        FileCase{"IncompleteBootDefinition", "S1051000AABB85\n", "VTC-200.inf",
                 "書き込み制御プログラム異常 inf_error", "[BootDef] section"}),
    testing::CaseName());

TEST(RecordFaultHint, ABinaryWithoutItsAddressIsToldHowToGiveIt) {
  EXPECT_EQ(RecordFaultHint("/w/app.BIN", {"01", 1, "ELF"}),
            "hint: /w/app.BIN is read as S-records; for a raw binary say where its first byte "
            "goes: /w/app.BIN@ADDR (0x hex, or decimal), as app.bin@0x8000");
}

}  // namespace
}  // namespace vantrel::cli
