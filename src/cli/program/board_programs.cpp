#include "cli/program/board_programs.h"

#include <cstdio>

#include "cli/board/prepare_job.h"
#include "cli/entry/baud_rate_check.h"
#include "cli/program/file_check.h"
#include "cli/program/mixed_checksums.h"
#include "cli/program/program_files.h"
#include "cli/records/sha256.h"
#include "core/format.h"
#include "objfile/program_image.h"
#include "platform/file_access.h"
#include "platform/path_separators.h"

namespace vantrel::cli {
namespace {

int Refuse(const FileProblem& problem) {
  std::fprintf(stderr, "%s\n", problem.message.c_str());
  if (!problem.hint.empty()) std::fprintf(stderr, "%s\n", problem.hint.c_str());
  return 1;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  std::FILE* file = platform::OpenFileForWriting(path);
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return (std::fclose(file) == 0) && written;
}

// The names joined, for a message or the report.
std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += (text.empty() ? "" : " + ") + name;
  return text;
}

}  // namespace

void BoardProgram::Describe(BoardRecord& record) const {
  if (!userProgram.empty()) record.userProgram = userProgram;
  record.inputs = inputs;
  record.serialNumber = serialNumber;
}

SerialNumbers SerialNumbersOf(const CliOptions& o) {
  if (!o.serial) return SerialNumbers(0, 1, 0);
  return SerialNumbers(o.serial->first, o.serial->step, SerialLimit(o.serial->format), o.serialFile,
                       SerialFormatName(o.serial->format));
}

std::optional<int> BoardPrograms::Prepare(const CliOptions& options,
                                          const std::vector<std::string>& ports,
                                          SerialNumbers& numbers) {
  boards_.assign(ports.size(), BoardProgram{options});
  if (const auto refused = Check(options, ports[0])) return refused;
  return Number(numbers);
}

std::optional<int> BoardPrograms::Check(const CliOptions& options, const std::string& firstPort) {
  PreparedJob prepared;
  if (PrepareJob(options, firstPort, prepared)) return std::nullopt;
  JobSettings settings = prepared.settings;
  if (const auto problem = BaudRateProblem(settings, options)) {
    std::fprintf(stderr, "vantrel-cli: %s (see --help)\n", problem->c_str());
    return kExitUsage;
  }
  const std::string& cpuType = settings.cpuType;
  const std::uint32_t base = settings.romBase;

  std::vector<ProgramFile> files;
  std::vector<std::string> given;
  std::vector<std::string> full;
  for (const auto& argument : options.files) {
    files.push_back(ClassifyProgramFile(argument));
    ProgramFile& f = files.back();
    f.path = platform::AbsolutePath(f.path);
    given.push_back(f.given);
    full.push_back(f.path + (f.kind == ProgramKind::Binary ? f.given.substr(f.given.rfind('@'))
                                                           : std::string()));
  }
  // A job file names its one program.
  if (files.empty()) {
    files.push_back({settings.userProgram, settings.userProgram});
    given = full = {settings.userProgram};
  }

  serial_ = options.serial;
  const std::size_t width = serial_ ? serial_->format.width : 0;
  const bool merge = files.size() > 1 || files[0].kind != ProgramKind::SRecords || serial_;
  if (!merge) {
    if (const auto problem = CheckJobFiles(settings)) return Refuse(*problem);
  } else {
    bytes_ = std::make_unique<SuppliedBytes>(base);
    if (const auto problem = ReadProgramFiles(files, *bytes_)) return Refuse(*problem);
    folder_ = platform::PrivateFolder::Make("vantrel-cli");
    if (!folder_) return Refuse({"vantrel-cli: cannot make a temporary folder", {}});
    // Zeros stand for the serial number: the check sees the blocks it will be written to.
    const std::vector<std::uint8_t> unnumbered(width, 0);
    merged_ = platform::JoinPath(folder_->path(), "program.mot");
    if (!WriteWholeFile(merged_, bytes_->SRecordText(unnumbered, serial_ ? serial_->address : 0))) {
      return Refuse({"vantrel-cli: cannot write " + merged_, {}});
    }
    settings.userProgram = merged_;
    if (const auto problem = CheckJobFiles(settings, Joined(given))) return Refuse(*problem);
  }

  // After the write-control file: a CPU type that is not there has no window.
  if (serial_ && (serial_->address < base || serial_->address - base > kImageSize - width)) {
    std::fprintf(stderr,
                 "vantrel-cli: --serial puts its %zu bytes at 0x%08X, outside the ROM window "
                 "%08X-%08X of %s (RomBaseAddr in Baud.ini; see --help)\n",
                 width, static_cast<unsigned>(serial_->address), static_cast<unsigned>(base),
                 static_cast<unsigned>(base + (kImageSize - 1)), cpuType.c_str());
    return kExitUsage;
  }
  if (serial_ && !options.serialOverProgram) {
    if (const auto covered = bytes_->FirstProgramByte(serial_->address, width)) {
      std::fprintf(stderr,
                   "vantrel-cli: --serial puts its %zu bytes at 0x%08X over the program: %s "
                   "supplies 0x%02X at 0x%08X\n"
                   "hint: put the number where the program leaves room (no byte, or 0xFF), or "
                   "give --serial-over-program to write it over those bytes\n",
                   width, static_cast<unsigned>(serial_->address), given[covered->file - 1].c_str(),
                   static_cast<unsigned>(covered->byte), static_cast<unsigned>(covered->address));
      return kExitUsage;
    }
  }

  std::vector<InputDigest> digests;
  for (const auto& f : files) {
    const auto digest = FileSha256(f.path);
    if (!digest) return Refuse({"vantrel-cli: cannot read the program file " + f.path, {}});
    digests.push_back({f.path, *digest});
    if (f.kind != ProgramKind::SRecords) continue;
    // Accepted as the window accepts it, but said: it may be a damaged byte.
    if (const auto mixed = FindMixedChecksums(f.path)) {
      std::fprintf(stderr, "%s\n", MixedChecksumsHint(f.given, *mixed).c_str());
      digests.back().mixedChecksumsLine = mixed->line;
    }
  }
  for (BoardProgram& board : boards_) {
    board.inputs = digests;
    if (!merge) continue;
    board.userProgram = Joined(full);
    board.options.file = merged_;
  }
  return std::nullopt;
}

std::optional<int> BoardPrograms::Number(SerialNumbers& numbers) {
  // A job that could not be set up has no image to number; its board jobs say why.
  if (!serial_ || !bytes_) return std::nullopt;
  std::string error;
  const auto taken = numbers.Take(boards_.size(), error);
  if (!taken) return Refuse({"vantrel-cli: " + error, {}});
  for (std::size_t i = 0; i < boards_.size(); ++i) {
    BoardProgram& board = boards_[i];
    board.serialNumber = (*taken)[i];
    board.options.file =
        platform::JoinPath(folder_->path(), "board-" + std::to_string(i + 1) + ".mot");
    const auto number = SerialBytes(board.serialNumber.value(), serial_->format);
    if (!WriteWholeFile(board.options.file, bytes_->SRecordText(number, serial_->address))) {
      return Refuse({"vantrel-cli: cannot write " + board.options.file, {}});
    }
  }
  return std::nullopt;
}

}  // namespace vantrel::cli
