#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// The user's choices kept between runs, with the defaults of a missing file.
struct SettingsValues {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  bool Snap = true;
  std::string PortNo = "COM1";
  std::string BaudB = "9600";
  std::string BaudP = "38400";
  std::string CPU = "Undefined";
  bool Verify = false;
  std::string OD1_Path;  // the executable's folder by default
  std::string MOT_Path;
  // [Timer] Cadence: "10ms" brings back one tick per timer period. Read, never written.
  std::string Cadence = "fast";
};

// The executable's path with its extension replaced by ".ini" (appended when it has none).
std::string SettingsPathFor(std::string_view executablePath);

// Nothing is validated; a missing file, section or key gives its default.
SettingsValues ReadSettingsFile(const std::string& path, std::string_view exeFolder);

// Writes every key in its fixed order, each in place, with one replace of the file: all of them,
// or none when it could not be written (false).
bool WriteSettingsFile(const std::string& path, const SettingsValues& values);

}  // namespace vantrel
