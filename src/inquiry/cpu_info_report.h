#pragma once

#include <string>
#include <string_view>

#include "core/job_inputs.h"
#include "inquiry/boot_definition.h"
#include "inquiry/cpu_information.h"

namespace vantrel {

inline constexpr const char* kCpuInfoFileName = "CpuInf.txt";

// The report's bytes: the boot definitions, then what the target reported, CR LF line ends.
std::string FormatCpuInfoReport(const BootDefinition& def, const CpuInformation& info);

// Writes CpuInf.txt (or fileName) into exeFolder after a failed sequence, or after a good one
// when the inputs want it. False when the report was due and could not be written; the window
// says nothing of it.
bool WriteCpuInfoReport(bool failed, const BootDefinition& def, const CpuInformation& info,
                        std::string_view exeFolder, JobInputs& inputs,
                        std::string_view fileName = kCpuInfoFileName);

}  // namespace vantrel
