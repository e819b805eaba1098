#include "app/tform1.h"
#include "app/window_layout.h"
#include "config/auto_command.h"
#include "config/file_locations.h"
#include "config/path_rules.h"
#include "platform/user_folders.h"

namespace vantrel {

// The first four arguments joined without a separator; the rest are ignored.
std::string JoinCommandText(const std::vector<std::string>& arguments) {
  std::string text;
  for (std::size_t i = 0; i < arguments.size() && i < 4; ++i) text += arguments[i];
  return text;
}

void TForm1::SetExecutablePath(const std::string& executablePath) {
  const FileLocations where = FindFileLocations(executablePath);
  // The settings and the job folders need a place to be written to.
  if (where.installed) platform::MakeFolders(where.home);
  fields.ExeFolder = where.home;
  fields.SettingsPath = where.settingsPath;
  fields.DataFolder = where.dataFolder;
}

void TForm1::Initialise(const std::string& executablePath,
                        const std::vector<std::string>& arguments) {
  // The captions are the layout's.
  controls.OpenDialog1Title = kOpenDialogTitle;
  SetExecutablePath(executablePath);
  FillPortList();
  FillCpuTypeList();
  ReadSettings();
  fields.CommandText = JoinCommandText(arguments);
  if (!fields.CommandText.empty()) HandleCommandText(fields.CommandText);
  if (const auto fixed = FindFixedUserProgram(fields.ExeFolder)) {
    fields.FixedProgram = true;
    fields.UserProgramPath = *fixed;
    LockFixedProgram();
  }
  SetUserProgram(fields.UserProgramPath, false);
  controls.Form.acceptsDrops = true;
  fields.ReadyForSnap = true;
  fields.BlockSize = 128;
  fields.RomBaseAddr = 0;
  ApplyCpuType();
  fields.JobResult = JobResultCode::Completed;
  PerformPendingStart();
}

}  // namespace vantrel
