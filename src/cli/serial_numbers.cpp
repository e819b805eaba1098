#include "cli/serial_numbers.h"

#include <limits>

#include "platform/file_access.h"
#include "platform/file_lock.h"
#include "platform/replace_file.h"

namespace vantrel::cli {
namespace {

// Decimal digits and a line end, nothing else.
std::optional<std::uint64_t> NumberLine(std::string_view text) {
  if (text.ends_with('\n')) text.remove_suffix(1);
  if (text.ends_with('\r')) text.remove_suffix(1);
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

}  // namespace

std::optional<std::vector<std::uint64_t>> SerialNumbers::Count(std::uint64_t next,
                                                               std::size_t count,
                                                               std::string& error) {
  std::vector<std::uint64_t> numbers;
  for (std::size_t i = 0; i < count; ++i) {
    if (next > limit_) {
      error = "the serial number " + std::to_string(next) + " does not fit (at most " +
              std::to_string(limit_) + ")";
      return std::nullopt;
    }
    numbers.push_back(next);
    if (next > std::numeric_limits<std::uint64_t>::max() - step_) {
      error = "no serial number follows " + std::to_string(next);
      return std::nullopt;
    }
    next += step_;
  }
  next_ = next;
  return numbers;
}

std::optional<std::vector<std::uint64_t>> SerialNumbers::Take(std::size_t count,
                                                              std::string& error) {
  if (file_.empty()) return Count(next_, count, error);
  const auto lock = platform::FileLock::Take(file_ + ".lock", kSerialLockWaitMs);
  if (!lock) {
    error = "cannot lock the serial file " + file_ + " (by " + file_ +
            ".lock): another station holds it, or the folder is not yours to write to";
    return std::nullopt;
  }
  std::uint64_t next = next_;
  if (platform::PathExists(file_)) {
    std::string text;
    if (!platform::ReadWholeFile(file_, text)) {
      error = "cannot read the serial file " + file_;
      return std::nullopt;
    }
    const auto number = NumberLine(text);
    if (!number) {
      error = "the serial file " + file_ + " does not hold one decimal number and a newline";
      return std::nullopt;
    }
    next = *number;
  }
  const std::uint64_t before = next_;
  auto numbers = Count(next, count, error);
  if (numbers && !platform::ReplaceFile(file_, std::to_string(next_) + "\n")) {
    next_ = before;
    error = "cannot write the serial file " + file_;
    return std::nullopt;
  }
  return numbers;
}

}  // namespace vantrel::cli
