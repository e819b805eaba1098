#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "simulator/boot_loader.h"
#include "simulator/classic_options.h"

namespace vantrel::simulator {

// The classic boot loader: it takes a write-control program with its length, echoing every byte,
// runs it, and the program erases the flash and serves block writes and verifies until 0xFF.
class ClassicBootLoader final : public BootLoader {
 public:
  enum class State {
    LengthHigh = 0,
    LengthLow = 1,
    Program = 2,
    Erasing = 3,
    Command = 4,
    WriteAddress = 5,
    WriteData = 6,
    VerifyAddress = 7,
    Ended = 8,
    Dead = 9,  // hung up
  };

  static constexpr std::uint8_t kHandshake = 0xAA;
  static constexpr std::uint8_t kDone = 0xAA;
  static constexpr std::uint8_t kRefused = 0x15;
  static constexpr std::uint8_t kWrite = 0x55;
  static constexpr std::uint8_t kVerify = 0x56;
  static constexpr std::uint8_t kEndOfJob = 0xFF;

  ClassicBootLoader(Flash& flash, const ClassicOptions& options);

  std::uint8_t HandshakeAnswer() const override { return kHandshake; }
  void OnByte(std::uint8_t byte, std::uint64_t nowUs, Line& line) override;
  void Advance(std::uint64_t nowUs, Line& line) override;
  bool JobEnded() const override { return state_ == State::Ended; }

  State state() const { return state_; }
  std::uint32_t programLength() const { return length_; }
  std::uint32_t blocksWritten() const { return blocks_; }
  std::uint32_t verifies() const { return verifies_; }

 private:
  void StartProgram(std::uint64_t nowUs);
  // Where a 24-bit block address lies in the flash, which the program sees modulo 2^24.
  std::optional<std::uint32_t> FlashAddress(std::uint32_t address24) const;
  void FinishWrite(Line& line);
  void AnswerVerify(Line& line);

  Flash& flash_;
  ClassicOptions options_;
  State state_ = State::LengthHigh;
  std::uint32_t length_ = 0;
  std::uint32_t received_ = 0;  // program bytes so far
  std::uint64_t eraseDoneUs_ = 0;
  std::uint32_t blocks_ = 0;    // write commands taken
  std::uint32_t verifies_ = 0;  // verify commands taken
  std::array<std::uint8_t, 3> address_{};
  std::uint32_t addressCount_ = 0;
  std::array<std::uint8_t, 256> block_{};
  std::uint32_t blockCount_ = 0;
};

}  // namespace vantrel::simulator
