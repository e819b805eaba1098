#include "inquiry/send_program_command.h"

#include "inquiry/frame_checksum.h"
#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr std::uint8_t kProgramCommand = 0x50;

}  // namespace

void SendProgramCommand(CommCtrl& port, std::uint32_t address, std::span<const std::uint8_t> data) {
  const std::uint8_t head[] = {kProgramCommand, static_cast<std::uint8_t>(address >> 24),
                               static_cast<std::uint8_t>(address >> 16),
                               static_cast<std::uint8_t>(address >> 8),
                               static_cast<std::uint8_t>(address)};
  for (auto b : head) port.PutByte(b);
  if (!data.empty()) port.Write(data);
  port.PutByte(ClosingChecksum(ByteSum(data, ByteSum(head))));
}

void SendProgramEnd(CommCtrl& port) {
  SendProgramCommand(port, kProgramEndAddress, {});
}

}  // namespace vantrel
