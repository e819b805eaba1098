#pragma once

#include <cstdint>
#include <string>

#include "core/job_events.h"

namespace vantrel {

// The window's fields that several parts of the program share.
struct WindowFields {
  // Without a trailing separator. An installed copy, whose own folder is not the user's to
  // write, puts the user's configuration folder here (FindFileLocations).
  std::string ExeFolder;
  // An installed copy's data folder: its CTRL_MOT is searched after ExeFolder's. Else empty.
  std::string DataFolder;
  std::string SettingsPath;
  std::string LastFolder;
  std::string UserProgramPath;
  std::string CommandText;
  bool FixedProgram = false;
  bool ReadyForSnap = false;
  bool AutoStart = false;
  bool AutoExit = false;
  // The last job's result, as the process ends with it.
  JobResultCode JobResult = JobResultCode::Completed;
  std::uint16_t BlockSize = 128;  // 128 or 256
  std::uint32_t RomBaseAddr = 0;
};

}  // namespace vantrel
