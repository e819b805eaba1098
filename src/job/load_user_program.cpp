#include "job/load_user_program.h"

#include <string>

#include "core/format.h"
#include "objfile/address_space.h"
#include "objfile/srecord.h"

namespace vantrel {
namespace {

constexpr const char* kCannotOpen = "書き込むファイルがオープンできません";
constexpr const char* kFormatError = " Ｓフォーマット異常 No.%s";

}  // namespace

StepResult LoadUserProgram::Run(StepPhase phase) {
  switch (phase) {
    case PhaseStart:
      return Start();
    case PhaseContinue:
      return ReadOneLine();
    default:
      return StepBusy;
  }
}

StepResult LoadUserProgram::Start() {
  image_.memory.bytes.fill(0xFF);
  image_.blocks.flags.fill(0);
  fault_ = {};
  pastTopLine_ = 0;
  if (!file_.Open(ctx_.inputs.UserProgramPath())) return FailCannotOpen();
  return StepBusy;
}

StepResult LoadUserProgram::ReadOneLine() {
  // Reached only if a caller goes on after the file was closed; there is nothing left to read.
  if (!file_.IsOpen()) return FailCannotOpen();

  const auto read = file_.ReadLine(line_);
  if (read == RecordFile::Read::Error) return FailCannotOpen();
  if (read == RecordFile::Read::EndOfFile) {
    file_.Close();
    return StepDone;
  }

  const SRecord record = ParseSRecord(line_);
  if (record.failedBeforeData()) return Fail(record.error);
  switch (record.kind) {
    case RecordKind::Header:
      return StepBusy;
    case RecordKind::End:
      file_.Close();
      return StepDone;
    case RecordKind::Data:
      break;
  }

  ctx_.events.Status({JobPhase::ReadingUserProgram, record.address});
  // A byte past the top address would otherwise wrap around to address 0.
  const std::size_t kept = BytesBelowTop(record.address, record.dataLength);
  if (kept < record.dataLength && pastTopLine_ == 0) pastTopLine_ = file_.lineNumber();
  for (std::size_t i = 0; i < kept; ++i) {
    Store(record.address + static_cast<std::uint32_t>(i), record.data[i]);
  }
  if (!record.ok()) return Fail(record.error);
  return StepBusy;
}

void LoadUserProgram::Store(std::uint32_t address, std::uint8_t byte) {
  const std::uint32_t offset = address - ctx_.inputs.RomBase();
  if (offset >= kImageSize) return;  // outside the image: dropped without a word
  image_.memory.bytes[offset] = byte;
  const std::uint32_t blockSize = ctx_.inputs.BlockSize();
  if (blockSize == 0) return;
  const std::uint32_t block = offset / blockSize;
  if (block < kBlockCount) image_.blocks.flags[block] = 1;
}

StepResult LoadUserProgram::Fail(std::string_view code) {
  fault_ = {code, file_.lineNumber(), line_};
  ReportFailure(ctx_.events, {.failure = JobFailure::RecordFormatError,
                              .text = Format(kFormatError, std::string(code).c_str()),
                              .code = std::string(code)});
  file_.Close();
  return StepFailed;
}

StepResult LoadUserProgram::FailCannotOpen() {
  ReportFailure(ctx_.events, {JobFailure::UserProgramNotOpened, kCannotOpen});
  file_.Close();
  return StepFailed;
}

}  // namespace vantrel
