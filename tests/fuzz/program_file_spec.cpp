// A program file as the command line names it (NAME.bin@ADDR among them), then read at the
// address it names: a binary near the top of the address space must not wrap around.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "cli/program/program_files.h"
#include "support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel;
  static const testing::TempFolder home;
  static const std::string program = home.Write("p.bin", std::string(300, '\x5A'));
  const std::string_view argument(reinterpret_cast<const char*>(data), size);
  cli::ProgramFile f = cli::ClassifyProgramFile(argument);
  if (f.given != argument || f.path.size() > argument.size()) __builtin_trap();
  f.path = program;
  auto bytes = std::make_unique<SuppliedBytes>(0);
  cli::ReadProgramFiles({&f, 1}, *bytes);
  return 0;
}
