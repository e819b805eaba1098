#include "inquiry/send_command_frame.h"

#include "serial/comm_ctrl.h"

namespace vantrel {

int SendCommandFrame(CommCtrl& port, std::uint8_t command, std::span<const std::uint8_t> data) {
  // A size byte cannot say more than 255; the program's longest frame holds 9.
  if (data.size() > 255) data = data.first(255);
  const auto size = static_cast<std::uint8_t>(data.size());
  std::uint8_t sum = static_cast<std::uint8_t>(command + size);
  port.PutByte(command);
  port.PutByte(size);
  for (auto b : data) {
    port.PutByte(b);
    sum = static_cast<std::uint8_t>(sum + b);
  }
  port.PutByte(static_cast<std::uint8_t>(0x100 - sum));
  return 0;
}

}  // namespace vantrel
