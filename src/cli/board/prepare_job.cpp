#include "cli/board/prepare_job.h"

#include <cstdio>

#include "config/auto_command.h"
#include "config/path_rules.h"
#include "platform/executable_path.h"
#include "platform/file_access.h"

namespace vantrel::cli {
namespace {

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

}  // namespace

std::optional<std::string> PrepareJob(TForm1& form, const CliOptions& options,
                                      const std::string& port) {
  form.SetExecutablePath(platform::ExecutablePath());
  if (!options.home.empty()) form.fields.ExeFolder = options.home;
  JobChoice choice{std::nullopt,     port,          options.cpu, {}, options.baudBoot,
                   options.baudProg, options.verify};
  if (options.job) {
    const std::string path = AutoPgmPath(form.fields.ExeFolder, *options.job);
    if (!Readable(path))
      return "cannot read the job file " + path + JobFileGuess(*options.job, path);
    choice.jobFile = path;
  }
  if (!options.file.empty()) choice.userProgram = platform::AbsolutePath(options.file);
  switch (form.ChooseJob(choice)) {
    case MissingChoice::Port:
      return "--port is required (or ComPortNo in the job file)";
    case MissingChoice::CpuType:
      return "--cpu is required (or CtrlProgam in the job file)";
    case MissingChoice::UserProgram:
      return "the job file names no user program (UserMotPath or a program in @APP_MOT)";
    case MissingChoice::None:
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace vantrel::cli
