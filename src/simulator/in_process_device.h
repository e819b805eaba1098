#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/serial_device.h"
#include "simulator/target_model.h"

namespace vantrel::simulator {

// A serial device whose far end is a TargetModel in the same process, on the given clock, so that
// host code on a fake clock talks to the simulated target deterministically.
class InProcessDevice final : public platform::SerialDevice {
 public:
  // The model and the clock outlive the device.
  InProcessDevice(TargetModel& model, platform::Clock& clock);

  bool Open(std::string_view portName) override;
  bool IsOpen() const override { return open_; }
  bool Configure(const platform::LineSettings& settings) override;
  bool SetWriteTimeout(std::uint32_t multiplierMs, std::uint32_t constantMs) override;
  bool SetDtr(bool on) override;
  bool SetRts(bool on) override;
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  std::size_t Read(std::span<std::uint8_t> buffer) override;
  void Close() override { open_ = false; }
  // Lets the clock run a millisecond at a time until the target's next byte is due, so a host
  // that waits on the port follows the target as it would on a real line.
  bool WaitForInput(std::uint32_t timeoutMs) override;
  // As on a pseudo-terminal, whose far end closes once the target's last byte has gone out.
  std::optional<std::size_t> BytesWaiting() const override {
    return open_ ? std::optional(model_.OutputDue(NowUs())) : std::nullopt;
  }
  bool LineLost() const override { return open_ && model_.HungUp() && !model_.NextOutputUs(); }
  bool Exists(std::string_view portName) const override;

  std::uint32_t baud() const { return baud_; }

 private:
  // The clock's wrapping milliseconds as a running count of microseconds.
  std::uint64_t NowUs() const;

  TargetModel& model_;
  platform::Clock& clock_;
  mutable std::uint32_t lastMs_;
  mutable std::uint64_t nowUs_ = 0;
  std::uint32_t baud_ = 0;
  bool open_ = false;
};

}  // namespace vantrel::simulator
