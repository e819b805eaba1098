#include "config/cpu_type_settings.h"

#include "config/control_folder.h"
#include "objfile/hex_digits.h"
#include "platform/ini_file.h"
#include "platform/path_separators.h"

namespace vantrel {

std::optional<CpuTypeSettings> ReadCpuTypeSettings(std::string_view exeFolder,
                                                   std::string_view cpuType,
                                                   std::string_view dataFolder) {
  if (cpuType.empty()) return std::nullopt;
  const std::string folder = ControlFolderFor(exeFolder, cpuType, dataFolder);
  const auto ini = platform::IniFile::Load(platform::JoinPath(folder, "Baud.ini"));
  CpuTypeSettings s;
  s.BaudB = ini.ReadText(cpuType, "BaudB", "Undefined");
  s.BaudP = ini.ReadText(cpuType, "BaudP", "Undefined");
  s.BlockSize = ini.ReadInt(cpuType, "BlockSize", 128);
  // Plain hex digits: a "0x" prefix reads as 0.
  s.RomBaseAddr = ParseHexNumber(ini.ReadText(cpuType, "RomBaseAddr", "0"));
  return s;
}

}  // namespace vantrel
