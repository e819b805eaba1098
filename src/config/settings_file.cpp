#include "config/settings_file.h"

#include "config/path_rules.h"
#include "platform/ini_file.h"

namespace vantrel {

std::string SettingsPathFor(std::string_view executablePath) {
  const std::string_view ext = FileExtension(executablePath);
  return std::string(executablePath.substr(0, executablePath.size() - ext.size())) + ".ini";
}

SettingsValues ReadSettingsFile(const std::string& path, std::string_view exeFolder) {
  const auto ini = platform::IniFile::Load(path);
  SettingsValues v;
  v.Left = ini.ReadInt("Position", "Left", 0);
  v.Top = ini.ReadInt("Position", "Top", 0);
  v.PortNo = ini.ReadText("CommPort", "PortNo", "COM1");
  v.BaudB = ini.ReadText("CommPort", "BaudB", "9600");
  v.BaudP = ini.ReadText("CommPort", "BaudP", "38400");
  v.CPU = ini.ReadText("Writer", "CPU", "Undefined");
  v.Verify = ini.ReadInt("Writer", "Verify", 0) != 0;
  v.Snap = ini.ReadInt("Position", "Snap", 1) != 0;
  v.OD1_Path = ini.ReadText("Path", "OD1_Path", exeFolder);
  v.MOT_Path = ini.ReadText("Path", "MOT_Path", "");
  v.Cadence = ini.ReadText("Timer", "Cadence", "fast");
  return v;
}

bool WriteSettingsFile(const std::string& path, const SettingsValues& v) {
  const auto flag = [](bool on) { return on ? "1" : "0"; };
  const std::string top = std::to_string(v.Top);
  const std::string left = std::to_string(v.Left);
  const platform::IniFile::KeyValue keys[] = {
      {"Position", "Top", top},
      {"Position", "Left", left},
      {"CommPort", "PortNo", v.PortNo},
      {"CommPort", "BaudB", v.BaudB},
      {"CommPort", "BaudP", v.BaudP},
      {"Writer", "CPU", v.CPU},
      {"Writer", "Verify", flag(v.Verify)},
      {"Position", "Snap", flag(v.Snap)},
      {"Path", "OD1_Path", v.OD1_Path},
      {"Path", "MOT_Path", v.MOT_Path},
  };
  return platform::IniFile::WriteTexts(path, keys);
}

}  // namespace vantrel
