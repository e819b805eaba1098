#include "cli/program/file_check.h"

#include <algorithm>
#include <memory>

#include "config/control_folder.h"
#include "config/cpu_type_list.h"
#include "config/path_rules.h"
#include "core/format.h"
#include "inquiry/boot_definition.h"
#include "job/load_control_program.h"
#include "job/load_user_program.h"
#include "objfile/address_space.h"
#include "platform/clock.h"
#include "platform/file_access.h"
#include "platform/path_separators.h"
#include "platform/text.h"
#include "serial/comm_ctrl.h"

namespace vantrel::cli {
namespace {

std::string_view StemOf(std::string_view name) {
  const auto dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::string CodeInWords(const RecordFault& fault) {
  const bool cut = fault.text.size() >= kRecordLineLimit;
  const std::string_view orLong =
      cut ? ", or the line is longer than the loader's 127 characters" : "";
  const std::string_view code = fault.code;
  if (code == "01")
    return "it does not begin with S (an empty line counts): is it an S-record file?";
  if (code == "02") return "its byte count is not two hex digits";
  if (code == "03") {
    const char type = fault.text.size() > 1 ? fault.text[1] : '?';
    if (type == '5' || type == '6') {
      return "an S" + std::string(1, type) +
             " record counts the records; the loader does not take it: delete the line, or "
             "make the file without it (srec_cat: -disable=data-count)";
    }
    return "record type S" + std::string(1, type) +
           " is not one the loader takes (S0, S1, S2, S3, S7, S8, S9)";
  }
  if (code == "04") return "its address is not hex";
  if (code == "05") {
    return "a write-control program is one run of bytes, and this record does not follow on from "
           "the one before";
  }
  if (code == "06") return "a data byte is not hex" + std::string(orLong);
  if (code == "07") return "the write-control program holds more than 4096 bytes";
  if (code == "08") return "its checksum is not two hex digits" + std::string(orLong);
  if (code == "09") return "its checksum does not add up";
  if (code == kNoDataRecordCode) return "the write-control program has no data record";
  return "the loader refuses it";
}

namespace {

// The last message a loader gave.
class KeptMessage final : public JobEvents {
 public:
  void Failed(const JobFailureEvent& failure) override { last = failure.text; }
  std::string last;
};

}  // namespace

std::optional<FileProblem> CheckControlFile(const JobSettings& s, ProgramImage& scratch) {
  FixedInputs inputs(s);
  KeptMessage boxes;
  bool inquiry = false;
  BootDefinition boot;
  LoadControlProgram load(inputs, boxes, scratch.control, inquiry, boot);
  if (load.Run() == StepDone) return std::nullopt;
  const std::string path = ControlFolderFile(s.exeFolder, s.cpuType, s.dataFolder);
  if (!load.fault().code.empty())
    return FileProblem{boxes.last, RecordFaultHint(path, load.fault())};
  if (!platform::PathExists(path)) return FileProblem{boxes.last, MissingCpuTypeHint(s)};
  if (inquiry) {
    return FileProblem{boxes.last, "hint: the [BootDef] section of " + path +
                                       " lacks a value the inquiry needs, or has one out of range"};
  }
  return FileProblem{boxes.last, UnopenedFileHint(path)};
}

std::optional<FileProblem> CheckUserProgram(const JobSettings& s, ProgramImage& scratch,
                                            const std::string& shownProgram) {
  FixedInputs inputs(s);
  KeptMessage boxes;
  CommCtrl port;
  platform::MonotonicClock clock;
  SharedTimeout timeout(clock);
  LoadUserProgram load(StepContext{port, timeout, inputs, boxes}, scratch);
  const std::string& path = shownProgram.empty() ? s.userProgram : shownProgram;
  if (load.Run(PhaseStart) == StepFailed) return FileProblem{boxes.last, UnopenedFileHint(path)};
  StepResult result = StepBusy;
  while (result == StepBusy) result = load.Run(PhaseContinue);
  if (result == StepFailed) {
    if (load.fault().code.empty()) return FileProblem{boxes.last, UnopenedFileHint(path)};
    return FileProblem{boxes.last, RecordFaultHint(path, load.fault())};
  }
  if (load.pastTopLine() != 0) {
    return FileProblem{"vantrel-cli: " + path + " line " + std::to_string(load.pastTopLine()) +
                           ": " + std::string(kPastTopWords),
                       {}};
  }
  const auto& flags = scratch.blocks.flags;
  if (std::none_of(flags.begin(), flags.end(), [](std::uint8_t f) { return f != 0; })) {
    const std::uint32_t base = s.romBase;
    return FileProblem{
        "vantrel-cli: " + path + " holds no data in the ROM window " +
            Format("%08X-%08X", base, static_cast<unsigned>(base + (kImageSize - 1))) +
            ": nothing would be written, and the board would be erased",
        "hint: is it the program for this CPU type? The window starts at RomBaseAddr of the CPU "
        "type's section in Baud.ini"};
  }
  return std::nullopt;
}

}  // namespace

std::string UnopenedFileHint(const std::string& path) {
  if (!platform::PathExists(path)) return "hint: " + path + " does not exist";
  if (platform::IsFolder(path)) return "hint: " + path + " is a folder, not a program file";
  return "hint: " + path + " cannot be read (is it yours to read?)";
}

std::string RecordFaultHint(const std::string& path, const RecordFault& fault) {
  // A raw binary named without its address is read as S-records and fails on its first bytes.
  if (const std::string_view ext = FileExtension(path); platform::EqualsIgnoringCase(ext, ".bin")) {
    return "hint: " + path +
           " is read as S-records; for a raw binary say where its first byte "
           "goes: " +
           path + "@ADDR (0x hex, or decimal), as app.bin@0x8000";
  }
  std::string hint = "hint: " + path;
  if (fault.code != kNoDataRecordCode) hint += " line " + std::to_string(fault.line);
  return hint + ": " + CodeInWords(fault);
}

std::string MissingCpuTypeHint(const JobSettings& s) {
  using platform::JoinPath;
  const std::string& cpuType = s.cpuType;
  std::string hint = "hint: no CPU type '" + cpuType + "' in " + JoinPath(s.exeFolder, "CTRL_MOT");
  if (!s.dataFolder.empty()) hint += " or " + JoinPath(s.dataFolder, "CTRL_MOT");
  const std::vector<std::string> types = ListCpuTypes(s.exeFolder, s.dataFolder);
  if (types.empty()) return hint + ", which holds none (--home names the folder with CTRL_MOT)";
  hint += "; there are:";
  for (const auto& t : types) hint += " " + t;
  for (const auto& t : types) {
    using platform::EqualsIgnoringCase;
    if (EqualsIgnoringCase(t, cpuType) || EqualsIgnoringCase(StemOf(t), StemOf(cpuType))) {
      return hint + "; did you mean " + t + "?";
    }
  }
  return hint;
}

std::optional<FileProblem> CheckJobFiles(const JobSettings& settings,
                                         const std::string& shownProgram) {
  auto scratch = std::make_unique<ProgramImage>();
  if (auto problem = CheckControlFile(settings, *scratch)) return problem;
  return CheckUserProgram(settings, *scratch, shownProgram);
}

}  // namespace vantrel::cli
