#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

// A header of the 32-bit form's own kind: address 0000, no data.
inline constexpr std::string_view kSRecordHeaderLine = "S0030000FC\n";

// Appends one record of a four-byte address (type '3' data or '7' end) and its LF. `data` holds
// at most 250 bytes, so that the count fits its byte.
void AppendSRecord(std::string& out, char type, std::uint32_t address,
                   std::span<const std::uint8_t> data);

}  // namespace vantrel
