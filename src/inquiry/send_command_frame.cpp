#include "inquiry/send_command_frame.h"

#include "inquiry/frame_checksum.h"
#include "serial/comm_ctrl.h"

namespace vantrel {

void SendCommandFrame(CommCtrl& port, std::uint8_t command, std::span<const std::uint8_t> data) {
  // A size byte cannot say more than 255; the program's longest frame holds 9.
  if (data.size() > 255) data = data.first(255);
  const auto size = static_cast<std::uint8_t>(data.size());
  const std::uint8_t head[] = {command, size};
  for (auto b : head) port.PutByte(b);
  for (auto b : data) port.PutByte(b);
  port.PutByte(ClosingChecksum(ByteSum(data, ByteSum(head))));
}

}  // namespace vantrel
