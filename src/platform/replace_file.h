#pragma once

#include <string>
#include <string_view>

// windows.h names its own ReplaceFile with a macro; where this header is seen, ours is meant.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

namespace vantrel::platform {

// Replaces the file's contents with the bytes, or leaves the old file as it was: the bytes go to a
// unique temporary file in the same folder, are flushed to disk and renamed over the old file, and
// the folder is flushed. A file marked read-only is refused, as Windows refuses it, even to an
// administrator. The old file's permissions are kept. False when nothing was replaced; the
// temporary file is gone then too.
bool ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace vantrel::platform
