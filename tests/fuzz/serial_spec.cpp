// The value of --serial ADDR:FIRST[:STEP[:FORMAT]]: a refusal says why; an accepted format's
// largest number fills it exactly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/program/serial_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel::cli;
  std::string error;
  const auto option =
      ParseSerialOption(std::string_view(reinterpret_cast<const char*>(data), size), error);
  if (!option) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  const SerialFormat format = option->format;
  if (SerialBytes(SerialLimit(format), format).size() != format.width) __builtin_trap();
  SerialBytes(option->first, format);
  return 0;
}
