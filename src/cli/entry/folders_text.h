#pragma once

#include <string>

#include "config/file_locations.h"

namespace vantrel::cli {

// The last part of --help and --version: which folders this copy reads and writes, and why.
std::string FoldersText(const FileLocations& where, const std::string& exeFolder);

}  // namespace vantrel::cli
