#pragma once

#include <cstdint>

namespace vantrel {

class CommCtrl;

// The read command 0x52 as a framed command of nine data bytes: area (0x01 the user mat when
// matType is 0, 0x00 the user boot mat), address and length, each four bytes most significant
// first.
void SendReadCommand(CommCtrl& port, std::int32_t matType, std::uint32_t address,
                     std::uint32_t length);

}  // namespace vantrel
