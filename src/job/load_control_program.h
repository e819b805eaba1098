#pragma once

#include <string>
#include <string_view>

#include "core/step.h"
#include "core/window_display.h"
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
// text and the folders are read at each Run, so they may be references to the window's live
// fields (ComboBoxCpuType.text, ExeFolder, DataFolder).
class LoadControlProgram {
 public:
  LoadControlProgram(WindowDisplay& display, const std::string& cpuType,
                     const std::string& exeFolder, const std::string& dataFolder,
                     ControlProgram& program, bool& inquiryMode, BootDefinition& boot)
      : display_(display),
        cpuType_(cpuType),
        exeFolder_(exeFolder),
        dataFolder_(dataFolder),
        program_(program),
        inquiryMode_(inquiryMode),
        boot_(boot) {}

  // StepDone, or StepFailed after the beep and the message box.
  StepResult Run();
  // The bad record of the last failed load; no code when the file could not be opened or its
  // boot definitions were incomplete.
  const RecordFault& fault() const { return fault_; }

 private:
  WindowDisplay& display_;
  const std::string& cpuType_;
  const std::string& exeFolder_;
  const std::string& dataFolder_;
  ControlProgram& program_;
  bool& inquiryMode_;
  BootDefinition& boot_;
  RecordFault fault_;
};

}  // namespace vantrel
