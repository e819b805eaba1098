#pragma once

#include <optional>
#include <string>

#include "core/job_inputs.h"
#include "objfile/record_file.h"

namespace vantrel::cli {

// A file of the job that would make it fail, found before any port is opened.
struct FileProblem {
  std::string message;  // the text the job's box would show, or a line of vantrel-cli's own
  std::string hint;     // "hint: ...", or empty
};

// Reads the settings' CPU type's write-control file and the whole user program with the job's own
// loaders into scratch buffers: a board is erased only for a job that can write something. The
// messages name the program shownProgram when it is given (the files a program made for the job
// came from).
std::optional<FileProblem> CheckJobFiles(const JobSettings& settings,
                                         const std::string& shownProgram = {});

// "hint: FILE does not exist", is a folder, or cannot be read.
std::string UnopenedFileHint(const std::string& path);

// "hint: FILE line N: ..." for a bad record, in words.
std::string RecordFaultHint(const std::string& path, const RecordFault& fault);

// The hint for a CPU type whose write-control file did not open: where it was looked for, which
// CPU types there are, and the one meant when it differs only by extension or letter case.
std::string MissingCpuTypeHint(const JobSettings& settings);

}  // namespace vantrel::cli
