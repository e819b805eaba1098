#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::cli {

// Hands out serial numbers, `step` apart and none above `limit`. With a file, the file keeps the
// next free number (one decimal number and a newline): its number wins over `first`, and it is
// replaced before the numbers are handed out, under a lock (FILE.lock) that stations sharing the
// file wait for. A number handed out is never handed out again, even when the program is killed
// before it is used.
class SerialNumbers {
 public:
  SerialNumbers(std::uint64_t first, std::uint64_t step, std::uint64_t limit, std::string file = {})
      : next_(first), step_(step), limit_(limit), file_(std::move(file)) {}

  // The next `count` numbers; nothing, and why, when there are not that many or the file cannot
  // be read or replaced.
  std::optional<std::vector<std::uint64_t>> Take(std::size_t count, std::string& error);

 private:
  std::optional<std::vector<std::uint64_t>> Count(std::uint64_t next, std::size_t count,
                                                  std::string& error);

  std::uint64_t next_;
  std::uint64_t step_;
  std::uint64_t limit_;
  std::string file_;
};

// How long a station waits for another to finish taking its numbers.
inline constexpr std::uint32_t kSerialLockWaitMs = 10000;

}  // namespace vantrel::cli
