// One INI file, read by the INI reader and every reader on top of it: the settings file, Baud.ini,
// an AutoPgm.ini job file and the BootDef section of an .inf write-control file (with the frame
// and the report built from what it says). Then one key is written into it: the key must read
// back and every other setting must keep its value.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/auto_command.h"
#include "config/cpu_type_settings.h"
#include "config/settings_file.h"
#include "inquiry/cpu_info_report.h"
#include "inquiry/new_bit_rate_frame.h"
#include "inquiry/read_boot_definition.h"
#include "platform/ini_file.h"
#include "platform/text_encoding.h"
#include "support/temp_folder.h"

namespace {

using namespace vantrel;

bool SameSettings(const SettingsValues& a, const SettingsValues& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Snap == b.Snap && a.BaudB == b.BaudB &&
         a.BaudP == b.BaudP && a.CPU == b.CPU && a.Verify == b.Verify && a.OD1_Path == b.OD1_Path &&
         a.MOT_Path == b.MOT_Path && a.Cadence == b.Cadence;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const testing::TempFolder home;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // The same bytes under each name a reader looks for.
  home.Write("CTRL_MOT/Baud.ini", bytes);
  const std::string inf = home.Write("CTRL_MOT/FUZZ.inf", bytes);
  const std::string settings = home.Write("vantrel.ini", bytes);

  platform::IniFile::Parse(bytes);
  const SettingsValues before = ReadSettingsFile(settings, home.path());
  for (const char* cpuType : {"VTC-100.mot", "FUZZ.inf"}) ReadCpuTypeSettings(home.path(), cpuType);
  ReadAutoPgmFile(inf);

  BootDefinition def;
  ReadBootDefinition(inf, def);
  CommandData frame{};
  BuildNewBitRateData(def, frame);
  FormatCpuInfoReport(def, CpuInformation{});

  if (!platform::IniFile::WriteText(settings, "CommPort", "PortNo", "COM7")) return 0;
  const SettingsValues after = ReadSettingsFile(settings, home.path());
  if (after.PortNo != "COM7" || !SameSettings(before, after)) __builtin_trap();
  return 0;
}
