#include "config/auto_command.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vantrel {
namespace {

TEST(AutoCommand, RecognisesHyphenGoWithItsFileArgument) {
  const struct {
    const char* text;      // the arguments as the window joins them
    const char* argument;  // nullptr: not a command
  } cases[] = {
      {"-go", ""},
      {"-GOjob.ini", "job.ini"},         // "-GO" "job.ini"
      {"-GOjob.ini", "job.ini"},         // "-" "GO" "job.ini" joins the same
      {" -\u3000GOjob.ini", "job.ini"},  // a quoted " -　GO" then "job.ini"
      {"\t- gO  /w/j.ini", "/w/j.ini"},  // blanks after GO are skipped too
      {"-GX", nullptr},
      {"-G", nullptr},
      {"GO", nullptr},
      {"/w/-GO.mot", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cases) {
    const auto arg = AutoCommandArgument(c.text);
    if (c.argument == nullptr) {
      EXPECT_FALSE(arg.has_value()) << c.text;
    } else {
      EXPECT_EQ(arg, std::optional<std::string>(c.argument)) << c.text;
    }
  }
  EXPECT_EQ(SkipBlanks(" \t\u3000x", 0), 5u);
}

TEST(AutoCommand, JobFileLocation) {
  using testing::Native;
  EXPECT_EQ(AutoPgmPath(Native("/exe"), ""), Native("/exe/@AUTO_PGM/AutoPgm.ini"));
  EXPECT_EQ(AutoPgmPath(Native("/exe"), "job.ini"), Native("/exe/@AUTO_PGM/job.ini"));
  EXPECT_EQ(AutoPgmPath(Native("/exe"), Native("/w/job.ini")), Native("/w/job.ini"));
  EXPECT_EQ(AutoPgmPath(Native("/exe"), Native("sub/job.ini")), Native("sub/job.ini"));
}

TEST(AutoCommand, OnlyAcceptedValuesAreTaken) {
  testing::TempFolder dir;
  const struct {
    const char* lines;
    AutoPgmValues want;
  } cases[] = {
      {"Left=10\nTop=20\nSnap=0\nVerify=1\nAutoStart=1\nAutoExit=0\nComPortNo=12\n"
       "BaudB=19200\nBaudP=14400\nCtrlProgam=A.mot\nUserMotPath=/w/a.mot\n",
       {10, 20, false, true, true, false, "COM12", "19200", "14400", "A.mot", "/w/a.mot"}},
      {"Left=10\nTop=-1\nSnap=2\nVerify=yes\nComPortNo=0\nBaudB=38400\nBaudP=7200\n"
       "CtrlProgam=Undefined\nUserMotPath=Undefined\n",
       {}},
      {"Left=0x0\nTop=0\nComPortNo=99\nAutoExit=1\n",
       {0, 0, std::nullopt, std::nullopt, std::nullopt, true, "COM99"}},
      {"ComPortNo=100\nCtrlProgam=undefined\n",
       {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
        std::nullopt, std::nullopt, std::nullopt, "undefined"}},
  };
  for (const auto& c : cases) {
    const auto v = ReadAutoPgmFile(dir.Write("j.ini", std::string("[AutoPgm]\n") + c.lines));
    EXPECT_EQ(v.Left, c.want.Left) << c.lines;
    EXPECT_EQ(v.Top, c.want.Top) << c.lines;
    EXPECT_EQ(v.Snap, c.want.Snap) << c.lines;
    EXPECT_EQ(v.Verify, c.want.Verify) << c.lines;
    EXPECT_EQ(v.AutoStart, c.want.AutoStart) << c.lines;
    EXPECT_EQ(v.AutoExit, c.want.AutoExit) << c.lines;
    EXPECT_EQ(v.ComPortNo, c.want.ComPortNo) << c.lines;
    EXPECT_EQ(v.BaudB, c.want.BaudB) << c.lines;
    EXPECT_EQ(v.BaudP, c.want.BaudP) << c.lines;
    EXPECT_EQ(v.CtrlProgam, c.want.CtrlProgam) << c.lines;
    EXPECT_EQ(v.UserMotPath, c.want.UserMotPath) << c.lines;
  }
  EXPECT_FALSE(ReadAutoPgmFile(dir.PathOf("missing.ini")).Verify.has_value());
}

TEST(AutoCommand, FixedProgramPrefersMotThenTheFirstByName) {
  testing::TempFolder dir;
  EXPECT_FALSE(FindFixedUserProgram(dir.path()).has_value());
  dir.Write("@APP_MOT/b.s", "");
  dir.Write("@APP_MOT/a.s", "");
  dir.Write("@APP_MOT/.hidden.mot", "");
  dir.Write("@APP_MOT/folder.mot/x", "");
  EXPECT_EQ(FindFixedUserProgram(dir.path()), dir.PathOf("@APP_MOT/a.s"));
  dir.Write("@APP_MOT/z.MOT", "");
  dir.Write("@APP_MOT/c.mot", "");
  EXPECT_EQ(FindFixedUserProgram(dir.path()), dir.PathOf("@APP_MOT/c.mot"));
}

}  // namespace
}  // namespace vantrel
