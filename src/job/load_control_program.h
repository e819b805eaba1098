#pragma once

#include <string>
#include <string_view>

#include "core/step.h"
#include "core/job_events.h"
#include "core/job_inputs.h"
#include "inquiry/boot_definition.h"
#include "objfile/program_image.h"
#include "objfile/record_file.h"

namespace vantrel {

// The code shown for a write-control .mot file without a single data byte: there would be
// nothing to send and no length to measure progress by.
inline constexpr std::string_view kNoDataRecordCode = "10";

// Loads the write-control file named by the CPU type text from CTRL_MOT beside the executable (or
// the installed data folder's, ControlFolderFor), all in one call. An .inf file (any letter case)
// sets inquiryMode and fills boot; any other file is read as S-records into program. The CPU type
// and the folders are read from the inputs at each Run.
class LoadControlProgram {
 public:
  LoadControlProgram(JobInputs& inputs, JobEvents& events, ControlProgram& program,
                     bool& inquiryMode, BootDefinition& boot)
      : inputs_(inputs),
        events_(events),
        program_(program),
        inquiryMode_(inquiryMode),
        boot_(boot) {}

  // StepDone, or StepFailed once the failure is reported.
  StepResult Run();
  // The bad record of the last failed load; no code when the file could not be opened or its
  // boot definitions were incomplete.
  const RecordFault& fault() const { return fault_; }

 private:
  JobInputs& inputs_;
  JobEvents& events_;
  ControlProgram& program_;
  bool& inquiryMode_;
  BootDefinition& boot_;
  RecordFault fault_;
};

}  // namespace vantrel
