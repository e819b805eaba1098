#include "simulator/in_process_device.h"

#include <array>

namespace vantrel::simulator {

InProcessDevice::InProcessDevice(TargetModel& model, platform::Clock& clock)
    : model_(model), clock_(clock), lastMs_(clock.NowMs()) {}

std::uint64_t InProcessDevice::NowUs() const {
  const std::uint32_t ms = clock_.NowMs();
  nowUs_ += std::uint64_t{static_cast<std::uint32_t>(ms - lastMs_)} * 1000;
  lastMs_ = ms;
  return nowUs_;
}

bool InProcessDevice::Open(std::string_view) {
  if (open_ || model_.HungUp()) return false;
  // Whatever the target sent while nobody listened is gone.
  std::array<std::uint8_t, 256> scratch{};
  const std::uint64_t now = NowUs();
  while (model_.Transmit(scratch, baud_, now) != 0) {
  }
  open_ = true;
  model_.HostOpened(now);
  return true;
}

bool InProcessDevice::Configure(const platform::LineSettings& settings) {
  if (!open_ || settings.baudRate == 0) return false;
  baud_ = settings.baudRate;
  return true;
}

bool InProcessDevice::SetWriteTimeout(std::uint32_t, std::uint32_t) {
  return open_;
}
bool InProcessDevice::SetDtr(bool) {
  return open_;
}
bool InProcessDevice::SetRts(bool) {
  return open_;
}

std::size_t InProcessDevice::Write(std::span<const std::uint8_t> bytes) {
  if (!open_ || model_.HungUp()) return 0;
  model_.Receive(bytes, baud_, NowUs());
  return bytes.size();
}

std::size_t InProcessDevice::Read(std::span<std::uint8_t> buffer) {
  if (!open_ || buffer.empty()) return 0;
  return model_.Transmit(buffer, baud_, NowUs());
}

bool InProcessDevice::WaitForInput(std::uint32_t timeoutMs) {
  if (!open_) return false;
  for (std::uint32_t waited = 0;; ++waited) {
    const std::uint64_t now = NowUs();
    model_.Advance(now);
    const auto due = model_.NextOutputUs();
    if (due && *due <= now) return true;
    if (waited >= timeoutMs) return false;
    clock_.Sleep(1);
  }
}

bool InProcessDevice::Exists(std::string_view) const {
  return true;
}

}  // namespace vantrel::simulator
