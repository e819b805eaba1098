#include "cli/entry/baud_rate_check.h"

#include "config/control_folder.h"
#include "config/cpu_type_settings.h"
#include "inquiry/boot_definition.h"
#include "platform/ini_file.h"
#include "platform/path_separators.h"
#include "platform/text.h"

namespace vantrel::cli {
namespace {

// The port reads a rate as the number a text starts with; 0 and negative numbers (which would
// come out as 4294967295) are no rate.
bool IsPortRate(const std::string& text) {
  return platform::ReadLeadingDecimal(text) > 0;
}

// The inquiry tells the board its new rate in hundreds of bits per second, in 16 bits.
bool IsInquiryRate(const std::string& text) {
  const std::int32_t rate = platform::ReadLeadingDecimal(text);
  return rate >= 100 && rate / 100 <= 0xFFFF;
}

std::string Where(const std::string& key, const std::string& value, const std::string& section,
                  const std::string& file) {
  return key + "=" + value + " in section [" + section + "] of " + file;
}

}  // namespace

std::optional<std::string> BaudRateProblem(const JobSettings& s, const CliOptions& options) {
  const std::string& cpuType = s.cpuType;
  const std::string baudIni =
      platform::JoinPath(ControlFolderFor(s.exeFolder, cpuType, s.dataFolder), "Baud.ini");
  const CpuTypeSettings section =
      ReadCpuTypeSettings(s.exeFolder, cpuType, s.dataFolder).value_or(CpuTypeSettings{});
  constexpr const char* kWhole = ": a baud rate is a positive whole number of bits per second";

  // Given options were checked when they were read; the job file offers only good rates.
  const std::string& boot = s.baudBoot;
  if (!options.baudBoot && !IsPortRate(boot)) {
    if (section.BaudB == "Undefined") {
      return "no boot baud rate: give --baud-boot RATE, or BaudB in section [" + cpuType + "] of " +
             baudIni;
    }
    return Where("BaudB", boot, cpuType, baudIni) + kWhole;
  }
  if (HasInfExtension(cpuType)) {
    // The boot definitions' rate is the programming rate; Baud (P) is not used.
    const std::string inf = ControlFolderFile(s.exeFolder, cpuType, s.dataFolder);
    const std::string rate =
        platform::IniFile::Load(inf).ReadText("BootDef", "BaudP", kMissingText);
    // A missing value is the file check's to name.
    if (rate == kMissingText || IsInquiryRate(rate)) return std::nullopt;
    return Where("BaudP", rate, "BootDef", inf) +
           ": the board is told the rate in hundreds of bits per second, 100 to 6553500";
  }
  const std::string& program = s.baudProg;
  if (!options.baudProg && !IsPortRate(program)) {
    if (section.BaudP == "Undefined") {
      return "no programming baud rate: give --baud-prog RATE, or BaudP in section [" + cpuType +
             "] of " + baudIni;
    }
    return Where("BaudP", program, cpuType, baudIni) + kWhole;
  }
  return std::nullopt;
}

}  // namespace vantrel::cli
