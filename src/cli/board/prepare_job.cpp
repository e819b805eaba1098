#include "cli/board/prepare_job.h"

#include <cstdio>

#include "config/auto_command.h"
#include "config/cpu_type_settings.h"
#include "config/file_locations.h"
#include "config/path_rules.h"
#include "objfile/program_image.h"
#include "platform/executable_path.h"
#include "platform/file_access.h"
#include "platform/user_folders.h"

namespace vantrel::cli {
namespace {

constexpr const char* kWrongExtension = " 拡張子は \".MOT\" or \".S\" のみサポート　";
constexpr const char* kBlockSizeRefused = "BlockSize は 128 or 256 のみ";
constexpr const char* kRomBaseTooHigh = "RomBaseAddr は FFF00000 以下のみ";
static_assert(kHighestRomBase == 0xFFF00000);

// The job file is there and can be read (a folder cannot).
bool Readable(const std::string& path) {
  std::FILE* file = platform::OpenFileForReading(path);
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// The job file meant, when it is there under a near name: one without its .ini, or a bare name
// that is in the current folder and not in @AUTO_PGM.
std::string JobFileGuess(const std::string& argument, const std::string& path) {
  if (argument.empty()) return {};
  if (FileExtension(path).empty() && Readable(path + ".ini")) {
    return "; did you mean --job " + argument + ".ini?";
  }
  if (FolderPart(argument).empty() && Readable(argument)) {
    return " (a bare name is looked for in @AUTO_PGM); did you mean --job ./" + argument + "?";
  }
  return {};
}

// The keys of a job file a job runs with; those only a window has a use for do nothing.
void TakeJobFile(const std::string& path, PreparedJob& job) {
  JobSettings& s = job.settings;
  const AutoPgmValues v = ReadAutoPgmFile(path);
  if (v.Verify) s.verify = *v.Verify;
  if (v.ComPortNo) s.port = *v.ComPortNo;
  if (v.BaudB) s.baudBoot = *v.BaudB;
  if (v.BaudP) s.baudProg = *v.BaudP;
  if (v.CtrlProgam) s.cpuType = *v.CtrlProgam;
  if (v.UserMotPath) {
    if (IsUserProgramExtension(*v.UserMotPath)) {
      s.userProgram = *v.UserMotPath;
    } else {
      job.messages.push_back(kWrongExtension);
    }
  }
  if (const auto fixed = FindFixedUserProgram(s.exeFolder)) s.userProgram = *fixed;
}

// The CPU type's section of Baud.ini; a refused value leaves the one in force.
void TakeCpuType(PreparedJob& job) {
  JobSettings& s = job.settings;
  const CpuTypeSettings c =
      ReadCpuTypeSettings(s.exeFolder, s.cpuType, s.dataFolder).value_or(CpuTypeSettings{});
  if (c.BaudB != "Undefined") s.baudBoot = c.BaudB;
  if (c.BaudP != "Undefined") s.baudProg = c.BaudP;
  if (c.BlockSize == 128 || c.BlockSize == 256) {
    s.blockSize = static_cast<std::uint16_t>(c.BlockSize);
  } else {
    job.messages.push_back(kBlockSizeRefused);
  }
  if (c.RomBaseAddr <= kHighestRomBase) {
    s.romBase = c.RomBaseAddr;
  } else {
    job.messages.push_back(kRomBaseTooHigh);
  }
}

}  // namespace

std::optional<std::string> PrepareJob(const CliOptions& options, const std::string& port,
                                      PreparedJob& job) {
  job = {};
  JobSettings& s = job.settings;
  const FileLocations where = FindFileLocations(platform::ExecutablePath());
  // The job folders need a place to be written to.
  if (where.installed) platform::MakeFolders(where.home);
  s.exeFolder = options.home.empty() ? where.home : options.home;
  s.dataFolder = where.dataFolder;
  if (options.job) {
    const std::string path = AutoPgmPath(s.exeFolder, *options.job);
    if (!Readable(path))
      return "cannot read the job file " + path + JobFileGuess(*options.job, path);
    TakeJobFile(path, job);
  }
  if (!port.empty()) s.port = port;
  if (!options.cpu.empty()) s.cpuType = options.cpu;
  if (!options.file.empty()) s.userProgram = platform::AbsolutePath(options.file);
  if (s.port.empty()) return "--port is required (or ComPortNo in the job file)";
  if (s.cpuType.empty()) return "--cpu is required (or CtrlProgam in the job file)";
  if (s.userProgram.empty()) {
    return "the job file names no user program (UserMotPath or a program in @APP_MOT)";
  }
  TakeCpuType(job);
  if (options.baudBoot) s.baudBoot = *options.baudBoot;
  if (options.baudProg) s.baudProg = *options.baudProg;
  if (options.verify) s.verify = true;
  s.cpuReport = options.cpuReport;
  return std::nullopt;
}

}  // namespace vantrel::cli
