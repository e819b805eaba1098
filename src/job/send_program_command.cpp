#include "job/send_program_command.h"

#include "serial/comm_ctrl.h"

namespace vantrel {
namespace {

constexpr std::uint8_t kProgramCommand = 0x50;

}  // namespace

void SendProgramCommand(CommCtrl& port, std::uint32_t address, std::span<const std::uint8_t> data) {
  if (address == kProgramEndAddress) data = {};
  std::uint8_t sum = kProgramCommand;
  port.PutByte(kProgramCommand);
  for (int shift = 24; shift >= 0; shift -= 8) {
    const auto b = static_cast<std::uint8_t>(address >> shift);
    port.PutByte(b);
    sum = static_cast<std::uint8_t>(sum + b);
  }
  if (!data.empty()) port.Write(data);
  for (auto b : data) sum = static_cast<std::uint8_t>(sum + b);
  port.PutByte(static_cast<std::uint8_t>(0x100 - sum));
}

void SendProgramEnd(CommCtrl& port) {
  SendProgramCommand(port, kProgramEndAddress, {});
}

}  // namespace vantrel
