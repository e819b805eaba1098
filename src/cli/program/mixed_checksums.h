#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vantrel::cli {

// Where an S-record file's data records stop summing as its first one does: to 0xFF (one's
// complement) or to 0x00 (two's complement). Both are accepted, and a byte raised or lowered by
// one turns a record of one kind into one of the other, so a file of both may hold a damaged byte.
struct MixedChecksums {
  std::size_t line = 0;         // the first record of the other kind
  bool twosComplement = false;  // the kind of that record
};

// Reads the file up to its end record; nothing when it is of one kind (or cannot be read).
std::optional<MixedChecksums> FindMixedChecksums(const std::string& path);

// "hint: FILE mixes ...", naming the line and what to do.
std::string MixedChecksumsHint(const std::string& shownPath, const MixedChecksums& mixed);

}  // namespace vantrel::cli
