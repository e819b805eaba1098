#pragma once

#include <cstdint>
#include <span>

namespace vantrel {

class CommCtrl;

// Command, size, the size data bytes and the checksum, one PutByte each.
void SendCommandFrame(CommCtrl& port, std::uint8_t command, std::span<const std::uint8_t> data);

}  // namespace vantrel
