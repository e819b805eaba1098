#include "serial/comm_ctrl.h"

#include <string>

#include "platform/text.h"

namespace vantrel {

CommCtrl::CommCtrl() : CommCtrl(platform::MakeSystemSerialDevice()) {}

CommCtrl::CommCtrl(std::unique_ptr<platform::SerialDevice> device) : device_(std::move(device)) {
  // Before the first Open the control block holds nothing, so CharTime falls back to its default.
  applied_ = platform::LineSettings{0, 0, 0, 0, false, false, 0, 0};
}

CommCtrl::~CommCtrl() {
  Close();
}

// Device paths on POSIX are longer than Windows port names, so the name is kept whole.
void CommCtrl::SetPortName(std::string_view name) {
  portName_ = name;
}

void CommCtrl::SetBaudRate(std::uint32_t rate) {
  settings_.baudRate = rate;
}

void CommCtrl::SetBaudRate(std::string_view text) {
  settings_.baudRate = static_cast<std::uint32_t>(platform::ReadLeadingDecimal(text));
}

void CommCtrl::SetByteSize(std::uint8_t size) {
  settings_.byteSize = size;
}

bool CommCtrl::SetByteSize(std::string_view text) {
  const auto size = static_cast<std::uint8_t>(platform::ReadLeadingDecimal(text));
  if (size != 4 && size != 7 && size != 8) return false;
  settings_.byteSize = size;
  return true;
}

void CommCtrl::SetParity(std::uint8_t parity) {
  settings_.parity = parity;
}

bool CommCtrl::SetParity(std::string_view text) {
  static constexpr std::string_view kNames[] = {"NONE", "ODD", "EVEN", "MARK", "SPACE"};
  for (std::uint8_t code = 0; code < 5; ++code) {
    if (platform::EqualsIgnoringCase(text, kNames[code])) {
      settings_.parity = code;
      return true;
    }
  }
  settings_.parity = 0;
  return false;
}

void CommCtrl::SetStopBits(std::uint8_t stopBits) {
  settings_.stopBits = stopBits;
}

bool CommCtrl::SetStopBits(std::string_view text) {
  static constexpr std::string_view kNames[] = {"1", "1.5", "2"};
  for (std::uint8_t code = 0; code < 3; ++code) {
    if (text == kNames[code]) {
      settings_.stopBits = code;
      return true;
    }
  }
  settings_.stopBits = 0;
  return false;
}

void CommCtrl::SetOutX(std::uint8_t on) {
  settings_.outX = on != 0;
}

void CommCtrl::SetInX(std::uint8_t on) {
  settings_.inX = on != 0;
}

void CommCtrl::SetXonChar(std::uint8_t c) {
  settings_.xonChar = c;
}

void CommCtrl::SetXoffChar(std::uint8_t c) {
  settings_.xoffChar = c;
}

bool CommCtrl::Open() {
  status_ = PortStatus::Closed;
  writeFailed_ = false;
  readPos_ = 0;
  fillCount_ = 0;
  if (!device_->Open(portName_)) return false;
  applied_ = settings_;
  status_ = device_->Configure(applied_) ? PortStatus::Open : PortStatus::Closed;
  if (status_ == PortStatus::Open && !device_->SetWriteTimeout(CharTime() / 1000 + 1, 500))
    status_ = PortStatus::Closed;
  if (status_ == PortStatus::Open && !device_->SetDtr(true)) status_ = PortStatus::Closed;
  if (status_ == PortStatus::Open && !device_->SetRts(true)) status_ = PortStatus::Closed;
  return status_ != PortStatus::Closed;
}

void CommCtrl::Close() {
  if (status_ == PortStatus::Open) {
    device_->SetDtr(false);
    device_->SetRts(false);
    status_ = PortStatus::Closed;
  }
  if (device_->IsOpen()) device_->Close();
}

int CommCtrl::PutByte(std::uint8_t byte) {
  const std::uint8_t one[1] = {byte};
  return Write(one) == 1 ? byte : -1;
}

std::size_t CommCtrl::Write(std::span<const std::uint8_t> bytes) {
  if (status_ != PortStatus::Open) return 0;
  const std::size_t n = device_->Write(bytes);
  if (n < bytes.size()) writeFailed_ = true;
  activity_.bytesSent += n;
  return n;
}

std::size_t CommCtrl::Read(std::span<std::uint8_t> buffer) {
  const std::size_t n = status_ == PortStatus::Open ? device_->Read(buffer) : 0;
  activity_.bytesReceived += n;
  if (n == 0) ++activity_.emptyReads;
  return n;
}

int CommCtrl::GetByte() {
  if (readPos_ >= fillCount_) {
    readPos_ = 0;
    fillCount_ = static_cast<std::uint32_t>(Read(rxBuffer_));
  }
  if (readPos_ >= fillCount_) return -1;
  return rxBuffer_[readPos_++];
}

std::uint32_t CommCtrl::CharTime() const {
  if (applied_.baudRate == 0) return 4000;
  const std::uint32_t bits = applied_.byteSize + (applied_.parity != 0 ? 1u : 0u) +
                             (applied_.stopBits != 0 ? 1u : 0u) + 2u;
  return bits * 1000000u / applied_.baudRate;
}

bool CommCtrl::PortExists(std::string_view name) const {
  return device_->Exists(name);
}

bool CommCtrl::WaitForInput(std::uint32_t ms, platform::Clock& clock) {
  if (readPos_ < fillCount_) return true;
  if (status_ == PortStatus::Open) return device_->WaitForInput(ms);
  clock.Sleep(ms);
  return false;
}

std::optional<std::size_t> CommCtrl::BytesWaiting() const {
  if (status_ != PortStatus::Open) return std::nullopt;
  const auto waiting = device_->BytesWaiting();
  if (!waiting) return std::nullopt;
  return *waiting + (fillCount_ - readPos_);
}

std::intptr_t CommCtrl::PollHandle() const {
  return status_ == PortStatus::Open ? device_->PollHandle() : -1;
}

}  // namespace vantrel
