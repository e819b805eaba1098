#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

// Hands out serial numbers, `step` apart and none above `limit` (what the format `formatName`
// holds). With a file, the file keeps the next free number (one decimal number and a newline):
// its number wins over `first`, and it is replaced before the numbers are handed out, under a
// lock (FILE.lock) that stations sharing the file wait for. A symbolic link to the file is
// followed: the lock and the replacement are the named file's. A number handed out is never
// handed out again, even when the program is killed before it is used.
class SerialNumbers {
 public:
  SerialNumbers(std::uint64_t first, std::uint64_t step, std::uint64_t limit, std::string file = {},
                std::string formatName = {})
      : next_(first),
        step_(step),
        limit_(limit),
        file_(std::move(file)),
        formatName_(std::move(formatName)) {}

  // The next `count` numbers; nothing, and why, when there are not that many or the file cannot
  // be read or replaced.
  std::optional<std::vector<std::uint64_t>> Take(std::size_t count, std::string& error);

  // Where a line for the user goes while Take waits (standard error unless set).
  void OnNotice(std::function<void(std::string_view)> notice) { notice_ = std::move(notice); }

 private:
  std::optional<std::vector<std::uint64_t>> Count(std::uint64_t next, std::size_t count,
                                                  const std::string& from, std::string& error);
  std::optional<std::vector<std::uint64_t>> TakeFromFile(std::size_t count, std::string& error);

  std::uint64_t next_;
  std::uint64_t step_;
  std::uint64_t limit_;
  std::string file_;
  std::string formatName_;
  std::function<void(std::string_view)> notice_;
};

// How long a station waits for another to finish taking its numbers.
inline constexpr std::uint32_t kSerialLockWaitMs = 10000;
// A temporary file of the serial file this old is a killed station's, not one being written.
inline constexpr std::uint32_t kStaleTemporarySeconds = 60;

}  // namespace vantrel::cli
