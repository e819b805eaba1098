#pragma once

#include <string>
#include <string_view>

namespace vantrel::platform {

// The user's configuration folder, the program's own folder not yet added: $XDG_CONFIG_HOME when
// it is an absolute path, else ~/.config (%APPDATA% on Windows). Empty when the system names none.
std::string UserConfigBase();

// Where an installed copy keeps what it ships for reading: <prefix>/share/vantrel beside
// <prefix>/bin (on Windows the executable's own folder).
std::string InstalledDataFolder(std::string_view exeFolder);

// Makes the folder and those above it that are missing; true when it is there afterwards.
bool MakeFolders(const std::string& path);

}  // namespace vantrel::platform
