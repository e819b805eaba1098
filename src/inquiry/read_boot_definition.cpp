#include "inquiry/read_boot_definition.h"

#include <string>

#include "platform/ini_file.h"

namespace vantrel {

int ReadBootDefinition(std::string_view path, BootDefinition& def) {
  const auto ini = platform::IniFile::Load(std::string(path));
  constexpr std::string_view kSection = "BootDef";
  def.DeviceName = ini.ReadText(kSection, "DeviceName", kMissingText);
  def.UserMatRdf = ini.ReadInt(kSection, "UserMatRdf", kMissingInteger);
  def.BaudP = ini.ReadText(kSection, "BaudP", kMissingText);
  def.ClockFreq = ini.ReadInt(kSection, "ClockFreq", kMissingInteger);
  def.MatType = ini.ReadInt(kSection, "MatType", kMissingInteger);
  def.ClockMode = ini.ReadInt(kSection, "ClockMode", kMissingInteger);
  def.MulRatioNo = ini.ReadInt(kSection, "MulRatioNo", kMissingInteger);
  def.MulRatio1 = ini.ReadInt(kSection, "MulRatio1", kMissingInteger);
  def.MulRatio2 = ini.ReadInt(kSection, "MulRatio2", kMissingInteger);
  def.MulRatio3 = ini.ReadInt(kSection, "MulRatio3", kMissingInteger);
  def.MulRatio4 = ini.ReadInt(kSection, "MulRatio4", kMissingInteger);

  // All four ratios must be there whatever MulRatioNo says.
  for (const std::int32_t v :
       {def.UserMatRdf, def.ClockFreq, def.MatType, def.ClockMode, def.MulRatioNo, def.MulRatio1,
        def.MulRatio2, def.MulRatio3, def.MulRatio4}) {
    if (v == kMissingInteger) return -1;
  }
  if (def.DeviceName == kMissingText || def.BaudP == kMissingText) return -1;
  // The new-bit-rate frame carries at most four ratios.
  if (def.MulRatioNo < 0 || def.MulRatioNo > 4) return -1;

  return 0;
}

}  // namespace vantrel
