#include "cli/board/traced_device.h"

namespace vantrel::cli {

bool TracedDevice::Configure(const platform::LineSettings& settings) {
  Flush();
  const bool ok = inner_->Configure(settings);
  baud_ = ok ? settings.baudRate : 0;
  return ok;
}

std::size_t TracedDevice::Write(std::span<const std::uint8_t> bytes) {
  const std::size_t n = inner_->Write(bytes);
  Note(true, bytes.first(n));
  return n;
}

std::size_t TracedDevice::Read(std::span<std::uint8_t> buffer) {
  const std::size_t n = inner_->Read(buffer);
  Note(false, buffer.first(n));
  return n;
}

void TracedDevice::Close() {
  Flush();
  baud_ = 0;
  inner_->Close();
}

void TracedDevice::Note(bool toTarget, std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  const std::int32_t step = step_ ? step_() : 0;
  if (!run_.empty() && (toTarget != runToTarget_ || step != runStep_)) Flush();
  if (run_.empty()) {
    runToTarget_ = toTarget;
    runAtMs_ = log_.NowMs();
    runStep_ = step;
  }
  run_.insert(run_.end(), bytes.begin(), bytes.end());
}

void TracedDevice::Flush() {
  if (run_.empty()) return;
  log_.Write({runAtMs_, port_, baud_, runStep_, runToTarget_, run_});
  run_.clear();
}

}  // namespace vantrel::cli
