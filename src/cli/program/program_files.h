#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/program/file_check.h"
#include "objfile/supplied_bytes.h"

namespace vantrel::cli {

enum class ProgramKind { SRecords, IntelHex, Binary };

// A user program file as the command line names it.
struct ProgramFile {
  std::string given;  // as on the command line
  std::string path;   // the file itself
  ProgramKind kind = ProgramKind::SRecords;
  std::uint32_t address = 0;  // a binary file's first byte goes here
};

// .hex and .ihx (any letter case) are Intel HEX, NAME.bin@ADDR raw binary at ADDR (hex with 0x, or
// decimal), anything else S-records.
ProgramFile ClassifyProgramFile(std::string_view argument);

// Reads the files, each as its kind, file number i + 1 the i-th; the first file that cannot be
// read, or the first byte two files both supply, is the problem.
std::optional<FileProblem> ReadProgramFiles(std::span<const ProgramFile> files,
                                            SuppliedBytes& bytes);

}  // namespace vantrel::cli
