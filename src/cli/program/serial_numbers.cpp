#include "cli/program/serial_numbers.h"

#include <cstdio>
#include <limits>

#include "platform/file_access.h"
#include "platform/file_lock.h"
#include "platform/final_path.h"
#include "platform/path_separators.h"
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

std::string FolderOf(const std::string& path) {
  const std::string_view name = platform::FileNamePart(path);
  if (name.size() == path.size()) return ".";
  return path.substr(0, path.size() - name.size() - 1);
}

std::string LockRefusal(const std::string& named, const std::string& lock, platform::FileFault f) {
  const std::string start = "cannot lock the serial file " + named + ": ";
  switch (f) {
    case platform::FileFault::Busy:
      return start + "another station has held its lock " + lock + " for " +
             std::to_string(kSerialLockWaitMs / 1000) + " s; try again when it has let go";
    case platform::FileFault::NoPermission:
      return start + "no permission to make or open its lock " + lock +
             " (the folder and the lock must be writable by every station's account)";
    case platform::FileFault::NoFolder:
      return start + "the folder " + FolderOf(lock) + " does not exist";
    default:
      return start + "its lock " + lock + " cannot be made or opened";
  }
}

}  // namespace

std::optional<std::vector<std::uint64_t>> SerialNumbers::Count(std::uint64_t next,
                                                               std::size_t count,
                                                               const std::string& from,
                                                               std::string& error) {
  std::vector<std::uint64_t> numbers;
  for (std::size_t i = 0; i < count; ++i) {
    if (next > limit_) {
      error = "the serial number " + std::to_string(next) + " does not fit";
      if (!formatName_.empty()) error += " the format " + formatName_;
      error += " (at most " + std::to_string(limit_) + ")";
      if (!from.empty()) error += ", counting on from the serial file " + from;
      error += ": give --serial a wider FORMAT";
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
  if (file_.empty()) return Count(next_, count, {}, error);
  return TakeFromFile(count, error);
}

std::optional<std::vector<std::uint64_t>> SerialNumbers::TakeFromFile(std::size_t count,
                                                                      std::string& error) {
  // A replaced link would become a file of its own, and its stations a sequence of their own.
  const std::string file = platform::FinalPath(file_);
  const std::string named = file == file_ ? file_ : file_ + " (a link to " + file + ")";
  const std::string lockPath = file + ".lock";
  platform::FileFault fault = platform::FileFault::None;
  const auto lock = platform::FileLock::Take(lockPath, kSerialLockWaitMs, &fault, [this] {
    const std::string_view line = "waiting for the serial file's lock, held by another station";
    if (notice_) {
      notice_(line);
    } else {
      std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
    }
  });
  if (!lock) {
    error = LockRefusal(named, lockPath, fault);
    return std::nullopt;
  }
  platform::RemoveStaleTemporaries(file, kStaleTemporarySeconds);
  std::uint64_t next = next_;
  if (platform::PathExists(file)) {
    // Replacing would part the names; writing in place would lose a number to a crash half-way.
    if (const unsigned names = platform::NameCount(file); names > 1) {
      error = "the serial file " + named + " has " + std::to_string(names) +
              " names (hard links), which replacing it would part: give every station the one "
              "name, or a symbolic link to it";
      return std::nullopt;
    }
    std::string text;
    if (!platform::ReadWholeFile(file, text)) {
      error = "cannot read the serial file " + named;
      return std::nullopt;
    }
    const auto number = NumberLine(text);
    if (!number) {
      error = "the serial file " + named + " does not hold one decimal number and a newline";
      return std::nullopt;
    }
    next = *number;
  }
  const std::uint64_t before = next_;
  auto numbers = Count(next, count, named, error);
  if (numbers && !platform::ReplaceFile(file, std::to_string(next_) + "\n", &fault)) {
    next_ = before;
    error = "cannot write the serial file " + named;
    if (fault == platform::FileFault::NoPermission) {
      error +=
          ": no permission (the file and its folder must be writable by every station's "
          "account)";
    } else if (fault == platform::FileFault::NoFolder) {
      error += ": the folder " + FolderOf(file) + " does not exist";
    }
    return std::nullopt;
  }
  return numbers;
}

}  // namespace vantrel::cli
