#pragma once

#include <string>

namespace vantrel::platform {

// The file a path names in the end: a symbolic link is followed, link after link, to the file it
// names, whether that is there yet or not, so that a file replaced there replaces the target,
// not the link. The path itself when it is no link.
std::string FinalPath(const std::string& path);

// How many names (hard links) the file has; 0 when there is none.
unsigned NameCount(const std::string& path);

}  // namespace vantrel::platform
