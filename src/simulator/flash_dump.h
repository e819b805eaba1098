#pragma once

#include <cstdint>
#include <string>

#include "simulator/boot_loader.h"

namespace vantrel::simulator {

// Writes the whole flash as raw binary. The file is replaced in one step (a temporary file, then
// a rename), so a reader never sees half a dump. False, with a reason in *error, on failure.
bool WriteFlashDump(const Flash& flash, const std::string& path, std::string* error);

// The dump file of the board-th board that was plugged in: "flash.bin" gives "flash-2.bin".
std::string BoardDumpPath(const std::string& path, std::uint32_t board);

}  // namespace vantrel::simulator
