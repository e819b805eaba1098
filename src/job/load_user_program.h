#pragma once

#include "core/step.h"
#include "core/step_context.h"
#include "objfile/program_image.h"
#include "objfile/record_file.h"

namespace vantrel {

// Reads the user program (the inputs' UserProgramPath) one S-record line per call into the memory image and
// marks the write blocks that received data. The file stays open between calls and is closed
// once: at its end, at an end record, on an error, or by the job's end step through CloseFile.
class LoadUserProgram {
 public:
  LoadUserProgram(StepContext ctx, ProgramImage& image) : ctx_(ctx), image_(image) {}

  StepResult Run(StepPhase phase);

  bool FileOpen() const { return file_.IsOpen(); }
  // The bad record of the last failed load; no code when the file could not be opened.
  const RecordFault& fault() const { return fault_; }
  // The first line of the last load whose data ran past address 0xFFFFFFFF (its bytes from there
  // on were left out); 0 when there was none.
  std::size_t pastTopLine() const { return pastTopLine_; }
  void CloseFile() { file_.Close(); }

 private:
  StepResult Start();
  StepResult ReadOneLine();
  void Store(std::uint32_t address, std::uint8_t byte);
  StepResult Fail(std::string_view code);
  StepResult FailCannotOpen();

  StepContext ctx_;
  ProgramImage& image_;
  RecordFile file_;
  std::string line_;
  RecordFault fault_;
  std::size_t pastTopLine_ = 0;
};

}  // namespace vantrel
