#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>

#include "simulator/boot_loader.h"
#include "simulator/target_options.h"

namespace vantrel::simulator {

// A microcontroller in serial boot mode, at the byte level: fed the host's bytes with the rate the
// host sends at and the time, it answers with bytes that become due at later times. It adjusts
// its UART to the host's zero bytes, answers the handshake, then hands bytes to its boot loader.
class TargetModel {
 public:
  enum class Mode {
    BitRateAdjust = 0,  // counting zero bytes to learn the host's rate
    Handshake = 1,      // answered 0x00; waiting for 0x55
    Loader = 2,         // every byte goes to the boot loader
  };

  explicit TargetModel(TargetOptions options);
  TargetModel(const TargetModel&) = delete;
  TargetModel& operator=(const TargetModel&) = delete;
  ~TargetModel();

  // The host has opened its port: a target with line noise sends it now, once per boot mode.
  void HostOpened(std::uint64_t nowUs);
  void Receive(std::span<const std::uint8_t> bytes, std::uint32_t hostBaud, std::uint64_t nowUs);
  void Advance(std::uint64_t nowUs);
  // Advances to nowUs and takes the answer bytes that have reached a host listening at hostBaud
  // (with pacing off, all queued bytes). Bytes sent at another rate arrive garbled or not at all.
  std::size_t Transmit(std::span<std::uint8_t> out, std::uint32_t hostBaud, std::uint64_t nowUs);
  // Answer bytes that have crossed the line by then, as many as a read would take at the rate
  // they were sent at.
  std::size_t OutputDue(std::uint64_t nowUs);
  // When the next queued answer byte is due, if any.
  std::optional<std::uint64_t> NextOutputUs() const;
  // When the next byte from the host has fully arrived and will be acted on, if any is on its way.
  std::optional<std::uint64_t> NextInputUs() const;
  // When the last byte queued either way is due, if any.
  std::optional<std::uint64_t> LastOutputUs() const;
  std::optional<std::uint64_t> LastInputUs() const;

  bool HungUp() const { return hungUp_; }
  const Flash& flash() const { return flash_; }
  // True once for each job whose boot loader reported its end; the target is then in boot mode.
  bool TakeJobEnded();
  // Back to boot mode, as when the user presses reset; the flash keeps its contents.
  void Reset();

  Mode mode() const { return mode_; }
  std::uint32_t ListeningBaud() const { return uartBaud_; }
  const BootLoader& loader() const { return *loader_; }
  std::size_t PendingOutput() const { return outgoing_.size(); }

 private:
  class ModelLine;
  struct Pending {
    std::uint8_t value;
    std::uint32_t baud;  // 0: line noise, no rate
    std::uint64_t atUs;
  };

  void BackToBootMode();
  void ProcessByte(const Pending& in);
  void AdvanceLoader(std::uint64_t nowUs);
  void Queue(std::uint8_t byte, std::uint32_t baud);
  // Counts an answer byte against the line faults; true when the line loses it.
  bool LostOnTheLine();
  void CheckJobEnd();
  void Trace(std::string_view text) const;

  TargetOptions options_;
  Flash flash_;
  std::unique_ptr<ModelLine> line_;
  std::unique_ptr<BootLoader> loader_;
  Mode mode_ = Mode::BitRateAdjust;
  std::uint32_t uartBaud_ = 0;
  bool followHost_ = false;  // the UART takes each host byte's rate
  std::uint32_t zeros_ = 0;
  bool hostSpoke_ = false;
  bool hungUp_ = false;
  bool jobEnded_ = false;
  std::uint64_t nowUs_ = 0;  // the time of the event being handled
  std::uint64_t inFreeUs_ = 0;
  std::uint64_t outFreeUs_ = 0;
  std::uint32_t answered_ = 0;     // answer bytes of this boot mode, for the line faults
  bool cutting_ = false;           // the rest of the answer being sent is lost
  std::uint64_t heldUntilUs_ = 0;  // a stalled line sends nothing before this
  std::deque<Pending> incoming_;
  std::deque<Pending> outgoing_;
};

}  // namespace vantrel::simulator
