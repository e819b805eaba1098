#pragma once

#include <string>
#include <vector>

namespace vantrel {

// Where the program's own files are. Portable: the executable's folder is the user's to write and
// everything is there. Installed: it is not (a system's bin folder), so the user's files go to the
// configuration folder and the example CPU types are read from the installed data folder.
struct FileLocations {
  bool installed = false;
  // Takes the executable folder's place: the user's CTRL_MOT, @AUTO_PGM, @APP_MOT, CpuInf.txt.
  std::string home;
  std::string settingsPath;
  // What an installed copy ships (its CTRL_MOT is searched after home's); empty when none.
  std::string dataFolder;
  std::vector<std::string> controlFolders;  // the CTRL_MOT folders, in search order
  std::string autoPgmFolder;
  std::string appMotFolder;
};

// What the choice rests on; FindFileLocations reads it from the system.
struct LocationFacts {
  std::string executablePath;
  bool exeFolderWritable = true;
  std::string configBase;  // the user's configuration folder; empty when the system names none
  std::string dataFolder;  // the installed data folder, when it is there
};

// With no configuration folder to go to, an unwritable copy stays portable.
FileLocations DecideFileLocations(const LocationFacts& facts);

FileLocations FindFileLocations(const std::string& executablePath);

}  // namespace vantrel
