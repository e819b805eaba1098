#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::simulator {

// A UART set to this rate follows the host, as a program built for the host's rate does.
inline constexpr std::uint32_t kHostsRate = 0;

// The target's side of the serial line as a boot loader sees it.
class Line {
 public:
  virtual ~Line() = default;
  // Queues one byte, sent at the rate the target's UART runs at.
  virtual void Send(std::uint8_t byte) = 0;
  void Send(std::span<const std::uint8_t> bytes) {
    for (auto b : bytes) Send(b);
  }
  // The rate the target's UART runs at; bytes the host sends at another rate arrive garbled,
  // and bytes the target sends at it reach a host at another rate garbled.
  virtual std::uint32_t ListeningBaud() const = 0;
  // kHostsRate: from then on the UART runs at whatever rate the host's bytes come at.
  virtual void SetListeningBaud(std::uint32_t baud) = 0;
  // The target stops answering and drops the line (the "hang up" fault).
  virtual void HangUp() = 0;
};

// The target's flash: erased bytes read 0xFF. Addresses outside [base, base + size) are refused.
class Flash {
 public:
  Flash(std::uint32_t base, std::uint32_t size) : base_(base), bytes_(size, 0xFF) {}
  void Erase() { std::fill(bytes_.begin(), bytes_.end(), 0xFF); }
  bool Contains(std::uint32_t address, std::uint32_t length) const {
    return address >= base_ && length <= bytes_.size() && address - base_ <= bytes_.size() - length;
  }
  // False (and nothing written) when the range is not inside the flash.
  bool Program(std::uint32_t address, std::span<const std::uint8_t> data) {
    if (!Contains(address, static_cast<std::uint32_t>(data.size()))) return false;
    std::copy(data.begin(), data.end(), bytes_.begin() + (address - base_));
    return true;
  }
  // Bytes outside the flash read as 0xFF.
  std::uint8_t At(std::uint32_t address) const {
    return Contains(address, 1) ? bytes_[address - base_] : 0xFF;
  }
  std::uint32_t base() const { return base_; }
  std::span<const std::uint8_t> bytes() const { return bytes_; }

 private:
  std::uint32_t base_;
  std::vector<std::uint8_t> bytes_;
};

// One boot protocol as the target runs it, after the bit rate has been adjusted and the handshake
// byte 0x55 answered. Fed every intact byte the host sends, and the passing of time.
class BootLoader {
 public:
  virtual ~BootLoader() = default;
  // The answer to the handshake byte 0x55 (0xAA classic, 0xE6 inquiry/selection).
  virtual std::uint8_t HandshakeAnswer() const = 0;
  virtual void OnByte(std::uint8_t byte, std::uint64_t nowUs, Line& line) = 0;
  // Time-driven answers, such as the end of an erase.
  virtual void Advance(std::uint64_t nowUs, Line& line) = 0;
  // The host sent the end-of-job byte, or otherwise finished; the flash is worth dumping.
  virtual bool JobEnded() const = 0;
};

}  // namespace vantrel::simulator
