#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_fault.h"

// windows.h names its own ReplaceFile with a macro; where this header is seen, ours is meant.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

namespace vantrel::platform {

// Replaces the file's contents with the bytes, or leaves the old file as it was: the bytes go to a
// unique temporary file in the same folder (the name, a dot and six letters or digits), are
// flushed to disk and renamed over the old file, and the folder is flushed. A file marked
// read-only is refused, as Windows refuses it, even to an administrator. The old file's
// permissions are kept; a new file gets 0666 less the umask. False when nothing was replaced,
// with `fault` saying why; the temporary file is gone then too.
bool ReplaceFile(const std::string& path, std::string_view bytes, FileFault* fault = nullptr);

// Removes the temporary files of `path` that a killed ReplaceFile left, those older than
// minAgeSeconds. Only for a caller that holds the lock every writer of the file takes.
void RemoveStaleTemporaries(const std::string& path, std::uint32_t minAgeSeconds);

// The name of a temporary file of `path`, made from the random bits.
std::string TemporaryName(const std::string& path, std::uint64_t random);
// The file name is one of TemporaryName's for a file named `base` (a name without folder).
bool IsTemporaryOf(std::string_view name, std::string_view base);

}  // namespace vantrel::platform
