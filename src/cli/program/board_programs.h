#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/entry/cli_options.h"
#include "cli/program/serial_numbers.h"
#include "cli/records/job_report.h"
#include "objfile/supplied_bytes.h"
#include "platform/private_folder.h"

namespace vantrel::cli {

// What one board of a run writes: the options its job runs with (their FILE the program file the
// job reads), and what its record says of the user's files.
struct BoardProgram {
  CliOptions options;
  std::string userProgram;  // the user's files; empty: the file the job reads is the user's
  std::vector<InputDigest> inputs;
  std::optional<std::uint64_t> serialNumber;

  // Adds to the job's record what the job cannot know.
  void Describe(BoardRecord& record) const;
};

// The numbers --serial (and --serial-file) give out.
SerialNumbers SerialNumbersOf(const CliOptions& options);

// The user's program files made ready for the boards of a run. A single S-record file without
// --serial is left to the job to read, as the window reads it; otherwise the files are merged and
// each board's serial number written over them, into an S-record file for each board in a private
// folder that goes with this object.
class BoardPrograms {
 public:
  // Before any port opens: reads and checks every file as the first board's job would (a job
  // that cannot be set up is left to the board jobs, which say why), then takes the boards'
  // serial numbers. Nothing when all is ready; else the exit code, and stderr has said why.
  std::optional<int> Prepare(const CliOptions& options, const std::vector<std::string>& ports,
                             SerialNumbers& numbers);

  const BoardProgram& board(std::size_t i) const { return boards_[i]; }

 private:
  std::optional<int> Check(const CliOptions& options, const std::string& firstPort);
  std::optional<int> Number(SerialNumbers& numbers);

  std::vector<BoardProgram> boards_;
  std::optional<SerialOption> serial_;
  std::unique_ptr<SuppliedBytes> bytes_;  // null while the job reads the user's own file
  std::unique_ptr<platform::PrivateFolder> folder_;
  std::string merged_;  // the merged program without a serial number
};

}  // namespace vantrel::cli
