#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/records/trace_log.h"
#include "platform/serial_device.h"

namespace vantrel::cli {

// A serial device that writes every byte in both directions to the trace, one line per run of
// bytes in one direction (a new line also when the sequence step or the rate changes).
class TracedDevice final : public platform::SerialDevice {
 public:
  TracedDevice(std::unique_ptr<platform::SerialDevice> inner, TraceLog& log, std::string port,
               std::function<std::int32_t()> step)
      : inner_(std::move(inner)), log_(log), port_(std::move(port)), step_(std::move(step)) {}
  ~TracedDevice() override { Flush(); }

  bool Open(std::string_view portName) override { return inner_->Open(portName); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  bool Configure(const platform::LineSettings& settings) override;
  bool SetWriteTimeout(std::uint32_t multiplierMs, std::uint32_t constantMs) override {
    return inner_->SetWriteTimeout(multiplierMs, constantMs);
  }
  bool SetDtr(bool on) override { return inner_->SetDtr(on); }
  bool SetRts(bool on) override { return inner_->SetRts(on); }
  std::size_t Write(std::span<const std::uint8_t> bytes) override;
  std::size_t Read(std::span<std::uint8_t> buffer) override;
  void Close() override;
  bool WaitForInput(std::uint32_t timeoutMs) override { return inner_->WaitForInput(timeoutMs); }
  bool LineLost() const override { return inner_->LineLost(); }
  std::intptr_t PollHandle() const override { return inner_->PollHandle(); }
  bool Exists(std::string_view portName) const override { return inner_->Exists(portName); }

 private:
  void Note(bool toTarget, std::span<const std::uint8_t> bytes);
  void Flush();

  std::unique_ptr<platform::SerialDevice> inner_;
  TraceLog& log_;
  std::string port_;
  std::function<std::int32_t()> step_;
  std::uint32_t baud_ = 0;
  // The run not yet written.
  std::vector<std::uint8_t> run_;
  bool runToTarget_ = true;
  std::uint32_t runAtMs_ = 0;
  std::int32_t runStep_ = 0;
};

}  // namespace vantrel::cli
