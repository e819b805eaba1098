#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "simulator/boot_loader.h"
#include "simulator/device_description.h"

namespace vantrel::simulator {

// Misbehaviours the simulated inquiry/selection boot loader can be told to show.
struct InquiryFaults {
  // The answer to this inquiry (0x20..0x27) carries a wrong response code, or a wrong checksum.
  std::optional<std::uint8_t> wrongCodeFor;
  std::optional<std::uint8_t> wrongChecksumFor;
  bool manyDevices = false;      // the device list is padded up to 65 devices
  bool manyClockModes = false;   // the clock modes are padded up to 70
  bool nakBitRate = false;       // the new bit rate command is refused
  bool silentAtNewRate = false;  // the confirmation at the new rate is never answered
  int eraseAnswer = 0x06;        // the byte that ends the erase; -1: none at all
  bool nakMatSelection = false;
  std::uint32_t nakBlock = 0;  // refuse the k-th programming frame with data (from 1; 0 off)
  std::uint32_t hangUpAfterBlock = 0;  // after answering that frame the line goes dead
  // The k-th read answer (from 1; 0 off) has a wrong length header, a wrong checksum, or its
  // last data byte flipped.
  std::uint32_t readWrongLength = 0;
  std::uint32_t readWrongChecksum = 0;
  std::uint32_t readFlippedData = 0;
};

struct InquiryConfig {
  DeviceDescription device = SampleDeviceDescription();
  std::uint32_t eraseMs = 500;
  // After the end-of-programming frame the host either verifies (its first read comes a few
  // ticks later) or goes quiet; this much quiet ends the job. Short, because a next job's zero
  // bytes arrive at the old rate, which the target no longer hears.
  std::uint32_t endQuietMs = 300;
  InquiryFaults faults;
};

// The boot loader of a target that answers inquiries and takes selections, framed programming
// and read commands. Fed one byte at a time; frames may arrive over any number of calls.
class InquiryBootLoader final : public BootLoader {
 public:
  static constexpr std::uint8_t kAck = 0x06;
  static constexpr std::uint8_t kNak = 0x15;

  // Where the loader stands in a job.
  enum class Phase {
    Inquiry = 0,       // inquiries and the device, clock-mode and bit-rate selections
    AwaitConfirm = 1,  // bit rate accepted; waiting for the host's 0x06 at the new rate
    Ready = 2,         // at the new rate; waiting for the erase command
    Erasing = 3,
    Programming = 4,  // mat selection, programming and read commands
  };

  InquiryBootLoader(const InquiryConfig& config, Flash& flash);

  std::uint8_t HandshakeAnswer() const override { return 0xE6; }
  void OnByte(std::uint8_t byte, std::uint64_t nowUs, Line& line) override;
  void Advance(std::uint64_t nowUs, Line& line) override;
  bool JobEnded() const override { return ended_; }

  Phase phase() const { return phase_; }
  // The user boot mat is kept apart from the flash the model dumps.
  std::span<const std::uint8_t> userBootMat() const { return bootMat_; }

 private:
  enum class Rx {
    Command,
    FrameSize,
    FrameData,
    FrameChecksum,
    ProgramAddress,
    ProgramData,
    ProgramChecksum,
  };
  enum class Mat { None, UserBoot, User };

  void OnCommand(std::uint8_t command, std::uint64_t nowUs, Line& line);
  void OnFrame(std::uint64_t nowUs, Line& line);
  void OnProgramFrame(Line& line);
  void SendInquiryAnswer(std::uint8_t command, Line& line);
  bool AcceptBitRate(std::span<const std::uint8_t> data) const;
  void AnswerRead(std::span<const std::uint8_t> data, Line& line);
  const std::vector<AddressArea>& AreasOf(Mat mat) const;
  bool InsideMat(Mat mat, std::uint32_t address, std::uint32_t length) const;
  bool StoreBootMat(std::uint32_t address, std::span<const std::uint8_t> data);
  std::uint8_t ReadMat(Mat mat, std::uint32_t address) const;

  InquiryConfig config_;
  Flash& flash_;
  std::vector<DeviceEntry> devices_;  // as reported, faults applied
  std::vector<std::uint8_t> clockModes_;
  std::vector<std::uint8_t> bootMat_;
  MemorySpan bootMatSpan_;

  Phase phase_ = Phase::Inquiry;
  bool deviceSelected_ = false;
  bool clockModeSelected_ = false;
  std::uint32_t newBaud_ = 0;
  std::optional<std::uint64_t> switchAtUs_;  // when the old-rate acknowledgement has gone out
  std::uint64_t eraseDoneUs_ = 0;
  Mat mat_ = Mat::None;
  bool programmingClosed_ = false;
  std::uint64_t lastByteUs_ = 0;
  bool ended_ = false;
  std::uint32_t blocksSeen_ = 0;
  std::uint32_t readsSeen_ = 0;

  Rx rx_ = Rx::Command;
  std::uint8_t command_ = 0;
  std::uint8_t sum_ = 0;
  std::size_t expected_ = 0;
  std::size_t received_ = 0;
  std::array<std::uint8_t, 255> frame_{};
  std::uint32_t address_ = 0;
  std::vector<std::uint8_t> block_;
};

std::unique_ptr<BootLoader> MakeInquiryBootLoader(const InquiryConfig& config, Flash& flash);

}  // namespace vantrel::simulator
