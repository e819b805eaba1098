#include "inquiry/send_read_command.h"

#include <array>

#include "inquiry/send_command_frame.h"

namespace vantrel {
namespace {

constexpr std::uint8_t kReadCommand = 0x52;

void PutBigEndian(std::uint8_t* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

}  // namespace

void SendReadCommand(CommCtrl& port, std::int32_t matType, std::uint32_t address,
                     std::uint32_t length) {
  std::array<std::uint8_t, 9> data{};
  data[0] = matType == 0 ? 0x01 : 0x00;
  PutBigEndian(&data[1], address);
  PutBigEndian(&data[5], length);
  SendCommandFrame(port, kReadCommand, data);
}

}  // namespace vantrel
