#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// What the Baud.ini section of a CPU type says. The window decides what to apply: a baud text of
// "Undefined" changes nothing, and a BlockSize other than 128 or 256 is refused with a message.
struct CpuTypeSettings {
  std::string BaudB = "Undefined";
  std::string BaudP = "Undefined";
  std::int32_t BlockSize = 128;  // as written, not yet checked
  std::uint32_t RomBaseAddr = 0;
};

// Reads Baud.ini in the CTRL_MOT folder of the CPU type's file (ControlFolderFor). An empty CPU
// type reads nothing (nullopt); a missing file or section gives the defaults.
std::optional<CpuTypeSettings> ReadCpuTypeSettings(std::string_view exeFolder,
                                                   std::string_view cpuType,
                                                   std::string_view dataFolder = {});

}  // namespace vantrel
