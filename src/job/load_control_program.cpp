#include "job/load_control_program.h"

#include <string>

#include "config/control_folder.h"
#include "core/format.h"
#include "inquiry/read_boot_definition.h"
#include "objfile/record_file.h"
#include "objfile/srecord.h"

namespace vantrel {
namespace {

constexpr const char* kCannotOpen = "書き込み制御ファイルがオープンできません";
constexpr const char* kProgramError = "書き込み制御プログラム異常 %s";

StepResult Fail(JobEvents& events, RecordFile& file, std::string_view code) {
  ReportFailure(events, {.failure = JobFailure::ControlProgramError,
                         .text = Format(kProgramError, std::string(code).c_str()),
                         .code = std::string(code)});
  file.Close();
  return StepFailed;
}

}  // namespace

StepResult LoadControlProgram::Run() {
  fault_ = {};
  const std::string path =
      ControlFolderFile(inputs_.ExeFolder(), inputs_.CpuType(), inputs_.DataFolder());
  RecordFile file;
  if (!file.Open(path)) {
    ReportFailure(events_, {JobFailure::ControlFileNotOpened, kCannotOpen});
    return StepFailed;
  }

  inquiryMode_ = false;
  if (HasInfExtension(path)) {
    inquiryMode_ = true;
    file.Close();  // opened only to prove that it exists
    if (ReadBootDefinition(path, boot_) != 0) return Fail(events_, file, "inf_error");
    events_.BlockLayout(inputs_.BlockSize(), inputs_.RomBase());
    return StepDone;
  }

  bool haveData = false;
  std::uint32_t first = 0;
  std::uint32_t next = 0;
  std::size_t held = 0;
  std::string line;
  auto fail = [&](std::string_view code) {
    fault_ = {code, file.lineNumber(), line};
    return Fail(events_, file, code);
  };
  for (;;) {
    const auto read = file.ReadLine(line);
    if (read == RecordFile::Read::EndOfFile) break;
    if (read == RecordFile::Read::Error) {
      ReportFailure(events_, {JobFailure::ControlFileNotOpened, kCannotOpen});
      file.Close();
      return StepFailed;
    }
    const SRecord record = ParseSRecord(line);
    if (record.failedBeforeData()) return fail(record.error);
    if (record.kind == RecordKind::End) break;
    if (record.kind == RecordKind::Header) continue;

    if (!haveData) {
      haveData = true;
      first = record.address;
      next = record.address;
    }
    // The target receives one contiguous run of bytes.
    if (record.address != next) return fail("05");
    for (std::size_t i = 0; i < record.dataLength; ++i) {
      if (held == program_.bytes.size()) return fail("07");
      program_.bytes[held++] = record.data[i];
      ++next;
    }
    if (!record.ok()) return fail(record.error);
  }

  if (held == 0) return fail(kNoDataRecordCode);
  program_.firstAddress = first;
  program_.lastAddress = next - 1;
  program_.length = next - first;
  file.Close();
  return StepDone;
}

}  // namespace vantrel
