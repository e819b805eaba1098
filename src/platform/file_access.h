#pragma once

#include <cstdio>
#include <string>

namespace vantrel::platform {

// Opens a regular file to read its bytes; nullptr for a folder, a device or a missing file
// (a folder would otherwise read as an empty file). The path is UTF-8 on every system.
std::FILE* OpenFileForReading(const std::string& path);

// Creates or empties a file to write bytes to; nullptr when it cannot.
std::FILE* OpenFileForWriting(const std::string& path);

// The whole file's bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Something (a file, a folder, a device) is there under the path.
bool PathExists(const std::string& path);

// The path names a folder that is there.
bool IsFolder(const std::string& path);

// The current user may make files in the folder (a read-only file system counts as not).
bool FolderWritable(const std::string& path);

// A character device, a pipe or a socket, or one of the process's own open files by name
// (/dev/stdout, /dev/fd/N): written where it is, never replaced by a new file.
bool IsStream(const std::string& path);

// Opens such a stream to add bytes at its end (a redirected standard output keeps what it has).
std::FILE* OpenStreamForWriting(const std::string& path);

// The path made absolute against the current folder; the path itself when that fails.
std::string AbsolutePath(const std::string& path);

}  // namespace vantrel::platform
