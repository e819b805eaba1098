#pragma once

#include <optional>
#include <string>

#include "app/window_fields.h"
#include "app/window_host.h"
#include "objfile/record_file.h"

namespace vantrel::cli {

// A desktop that shows nothing and keeps the text of the last box: for a job only set up, or a
// loader run to read its files.
class KeptBoxes final : public WindowHost {
 public:
  void Beep() override {}
  void ShowMessageBox(std::string_view text) override { last = text; }
  bool ShiftHeld() override { return false; }
  std::string last;
};

// A file of the job that would make it fail, found before any port is opened.
struct FileProblem {
  std::string message;  // the text the job's box would show, or a line of vantrel-cli's own
  std::string hint;     // "hint: ...", or empty
};

// Reads the CPU type's write-control file and the whole user program with the job's own loaders
// into scratch buffers: a board is erased only for a job that can write something. The messages
// name the program shownProgram when it is given (the files a program made for the job came from).
std::optional<FileProblem> CheckJobFiles(const WindowFields& fields, const std::string& cpuType,
                                         const std::string& shownProgram = {});

// "hint: FILE does not exist", is a folder, or cannot be read.
std::string UnopenedFileHint(const std::string& path);

// "hint: FILE line N: ..." for a bad record, in words.
std::string RecordFaultHint(const std::string& path, const RecordFault& fault);

// The hint for a CPU type whose write-control file did not open: where it was looked for, which
// CPU types there are, and the one meant when it differs only by extension or letter case.
std::string MissingCpuTypeHint(const WindowFields& fields, const std::string& cpuType);

}  // namespace vantrel::cli
