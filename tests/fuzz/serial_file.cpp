// What a serial file holds when a station takes its numbers from it (the first byte: how many):
// a refusal says why, and a number is never handed out twice.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/program/serial_numbers.h"
#include "support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrel;
  static const testing::TempFolder home;
  if (size == 0) return 0;
  const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
  cli::SerialNumbers numbers(0, 1 + (data[0] & 7), 0xFFFFFFFF, home.Write("serial.txt", file));
  std::string error;
  const auto first = numbers.Take(1 + (data[0] >> 4), error);
  if (!first) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  const auto second = numbers.Take(1, error);
  if (second && second->front() <= first->back()) __builtin_trap();
  return 0;
}
