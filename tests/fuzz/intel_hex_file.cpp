// A whole Intel HEX file, read as vantrel-cli reads a program file into a ROM window at 0 and one
// at the top of the address space, and written out as the S-records a job reads.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "cli/program/program_files.h"
#include "objfile/program_image.h"
#include "support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel;
  static const testing::TempFolder home;
  const std::string path =
      home.Write("a.hex", std::string(reinterpret_cast<const char*>(data), size));
  const cli::ProgramFile files[] = {{path, path, cli::ProgramKind::IntelHex, 0}};
  for (const std::uint32_t romBase : {std::uint32_t{0}, kHighestRomBase}) {
    auto bytes = std::make_unique<SuppliedBytes>(romBase);
    if (!cli::ReadProgramFiles(files, *bytes)) bytes->SRecordText();
  }
  return 0;
}
