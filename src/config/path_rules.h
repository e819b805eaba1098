#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vantrel {

// The folder part of a path: up to its last separator. The separator stays when it is a drive's
// ":", the path's first character, or follows a ":" or another separator (a root).
std::string FolderPart(std::string_view path);

// From the last "." of the file name, dot included; empty when the name has none.
std::string_view FileExtension(std::string_view path);

// ".mot" or ".s" in any letter case.
bool IsUserProgramExtension(std::string_view path);

// Drops the first folder of a folder part, leaving ".../" where it was.
std::string CutFirstFolder(std::string_view folder);

// The path shortened folder by folder until it is no wider than the width; the bare file name
// when nothing else fits (which may still be wider).
std::string ShortenPath(std::string_view path, const std::function<int(std::string_view)>& width,
                        int maxWidth);

}  // namespace vantrel
