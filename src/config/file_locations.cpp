#include "config/file_locations.h"

#include "config/path_rules.h"
#include "config/settings_file.h"
#include "platform/file_access.h"
#include "platform/path_separators.h"
#include "platform/user_folders.h"

namespace vantrel {
namespace {

std::string ExeFolderOf(std::string_view executablePath) {
  // A bare name would give an empty folder, which must never read as the root.
  std::string folder = FolderPart(executablePath);
  return folder.empty() ? "." : folder;
}

}  // namespace

FileLocations DecideFileLocations(const LocationFacts& facts) {
  using platform::JoinPath;
  FileLocations where;
  const std::string exeFolder = ExeFolderOf(facts.executablePath);
  where.installed = !facts.exeFolderWritable && !facts.configBase.empty();
  if (where.installed) {
    where.home = JoinPath(facts.configBase, "vantrel");
    where.settingsPath =
        SettingsPathFor(JoinPath(where.home, platform::FileNamePart(facts.executablePath)));
  } else {
    where.home = exeFolder;
    where.settingsPath = SettingsPathFor(facts.executablePath);
  }
  if (facts.dataFolder != where.home) where.dataFolder = facts.dataFolder;
  where.controlFolders.push_back(JoinPath(where.home, "CTRL_MOT"));
  if (!where.dataFolder.empty()) {
    where.controlFolders.push_back(JoinPath(where.dataFolder, "CTRL_MOT"));
  }
  where.autoPgmFolder = JoinPath(where.home, "@AUTO_PGM");
  where.appMotFolder = JoinPath(where.home, "@APP_MOT");
  return where;
}

FileLocations FindFileLocations(const std::string& executablePath) {
  LocationFacts facts;
  facts.executablePath = executablePath;
  const std::string exeFolder = ExeFolderOf(executablePath);
  facts.exeFolderWritable = platform::FolderWritable(exeFolder);
  facts.configBase = platform::UserConfigBase();
  const std::string data = platform::InstalledDataFolder(exeFolder);
  if (platform::IsFolder(data)) facts.dataFolder = data;
  return DecideFileLocations(facts);
}

}  // namespace vantrel
