#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Passes over blanks, tabs and full-width spaces (U+3000) from `at`; the first other position.
std::size_t SkipBlanks(std::string_view text, std::size_t at);

// The file argument of "-GO [file]" (blanks allowed around the hyphen and after GO, GO in any
// case); an empty argument for "-GO" alone. Nothing when the text is not such a command.
std::optional<std::string> AutoCommandArgument(std::string_view text);

// The AutoPgm.ini a command names: @AUTO_PGM/AutoPgm.ini without an argument, a name without a
// folder inside @AUTO_PGM, a path with a folder part as it is.
std::string AutoPgmPath(std::string_view exeFolder, std::string_view argument);

// The section AutoPgm, with only the accepted values present. Keys that are missing, out of
// range or not numbers are absent; a missing file gives nothing at all.
struct AutoPgmValues {
  std::optional<std::int32_t> Left;  // present only when Left and Top are both 0 or more
  std::optional<std::int32_t> Top;
  std::optional<bool> Snap;
  std::optional<bool> Verify;
  std::optional<bool> AutoStart;
  std::optional<bool> AutoExit;
  std::optional<std::string> ComPortNo;  // "COMn"
  std::optional<std::string> BaudB;
  std::optional<std::string> BaudP;
  std::optional<std::string> CtrlProgam;
  std::optional<std::string> UserMotPath;
};
AutoPgmValues ReadAutoPgmFile(const std::string& path);

// The fixed user program in @APP_MOT beside the executable: the first ".mot" file by name, else
// the first ".s" file; nothing when there is none.
std::optional<std::string> FindFixedUserProgram(std::string_view exeFolder);

}  // namespace vantrel
