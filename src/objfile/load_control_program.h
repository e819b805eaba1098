#pragma once

#include <string_view>

#include "core/step.h"
#include "core/window_display.h"
#include "inquiry/boot_definition.h"
#include "objfile/program_image.h"

namespace vantrel {

// The code shown for a write-control .mot file without a single data byte: there would be
// nothing to send and no length to measure progress by.
inline constexpr std::string_view kNoDataRecordCode = "10";

// Loads the write-control file named cpuType from CTRL_MOT beside the executable, all in one
// call. An .inf file (any letter case) sets inquiryMode and fills boot; any other file is read
// as S-records into program. Returns StepDone, or StepFailed after the beep and message box.
StepResult LoadControlProgram(WindowDisplay& display, std::string_view cpuType,
                              std::string_view exeFolder, ControlProgram& program,
                              bool& inquiryMode, BootDefinition& boot);

}  // namespace vantrel
