#pragma once

#include <cstdint>
#include <span>

#include "inquiry/cpu_information.h"

namespace vantrel {

// Parsers for the data of each inquiry answer (what follows the size byte or bytes). Each
// returns false when the answer is refused: a count that runs past the data, a device entry
// shorter than its 4-character code, or more devices than the table holds. Entries are counted
// in as they are read, so a refused answer leaves what came before it for the report. Tables
// that would overflow keep their first entries and ignore the rest.

bool ParseDeviceAnswer(std::span<const std::uint8_t> data, CpuInformation& info);
bool ParseClockModeAnswer(std::span<const std::uint8_t> data, CpuInformation& info);
bool ParseRatioAnswer(std::span<const std::uint8_t> data, CpuInformation& info);
bool ParseFrequencyAnswer(std::span<const std::uint8_t> data, CpuInformation& info);
// The user boot mat and the user mat answers share a layout.
bool ParseMatAreaAnswer(std::span<const std::uint8_t> data, std::uint8_t& count,
                        std::span<AddressRange, kMaxMatAreas> areas);
// frameCut: the frame was longer than ResponseBuffer and its tail was dropped; blocks lost with
// it are left out rather than refusing the answer.
bool ParseEraseBlockAnswer(std::span<const std::uint8_t> data, bool frameCut, CpuInformation& info);
bool ParseWriteSizeAnswer(std::span<const std::uint8_t> data, CpuInformation& info);

}  // namespace vantrel
