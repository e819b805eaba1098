#include "simulator/classic_boot_loader.h"

#include <algorithm>

namespace vantrel::simulator {

ClassicBootLoader::ClassicBootLoader(Flash& flash, const ClassicOptions& options)
    : flash_(flash), options_(options) {
  // The block buffer holds 256 bytes; anything else is taken as the smaller size.
  if (options_.blockSize != 128 && options_.blockSize != 256) options_.blockSize = 128;
}

void ClassicBootLoader::OnByte(std::uint8_t byte, std::uint64_t nowUs, Line& line) {
  const ClassicFaults& f = options_.faults;
  switch (state_) {
    case State::LengthHigh:
      length_ = std::uint32_t{byte} << 8;
      line.Send(byte);
      state_ = State::LengthLow;
      return;
    case State::LengthLow:
      length_ |= byte;
      line.Send(byte);
      received_ = 0;
      if (length_ == 0) {
        StartProgram(nowUs);
      } else {
        state_ = State::Program;
      }
      return;
    case State::Program:
      ++received_;
      if (received_ == f.corruptEcho) {
        line.Send(static_cast<std::uint8_t>(byte ^ 0x80));
      } else if (received_ != f.dropEcho) {
        line.Send(byte);
      }
      if (received_ == length_) StartProgram(nowUs);
      return;
    case State::Erasing:
      return;  // the program is busy erasing and hears nothing
    case State::Command:
      if (byte == kWrite || byte == kVerify) {
        addressCount_ = 0;
        state_ = byte == kWrite ? State::WriteAddress : State::VerifyAddress;
      } else if (byte == kEndOfJob) {
        state_ = State::Ended;
      }
      return;  // anything else is not a command and is ignored
    case State::WriteAddress:
    case State::VerifyAddress:
      address_[addressCount_++] = byte;
      if (addressCount_ < address_.size()) return;
      if (state_ == State::VerifyAddress) {
        AnswerVerify(line);
        state_ = State::Command;
      } else {
        blockCount_ = 0;
        state_ = State::WriteData;
      }
      return;
    case State::WriteData:
      block_[blockCount_++] = byte;
      if (blockCount_ == options_.blockSize) FinishWrite(line);
      return;
    case State::Ended:
    case State::Dead:
      return;
  }
}

void ClassicBootLoader::Advance(std::uint64_t nowUs, Line& line) {
  if (state_ != State::Erasing || nowUs < eraseDoneUs_) return;
  flash_.Erase();
  const ClassicFaults& f = options_.faults;
  if (!f.noEraseAnswer) line.Send(f.eraseAnswer.value_or(kDone));
  // The answer leaves at the boot rate; the program then listens at the rate it was built for.
  line.SetListeningBaud(options_.programmingBaud);
  state_ = State::Command;
}

void ClassicBootLoader::StartProgram(std::uint64_t nowUs) {
  state_ = State::Erasing;
  eraseDoneUs_ = nowUs + std::uint64_t{options_.eraseMs} * 1000;
}

std::optional<std::uint32_t> ClassicBootLoader::FlashAddress(std::uint32_t address24) const {
  const std::uint32_t size = static_cast<std::uint32_t>(flash_.bytes().size());
  const std::uint32_t offset = (address24 - flash_.base()) & 0xFFFFFFu;
  if (offset >= size || size - offset < options_.blockSize) return std::nullopt;
  return flash_.base() + offset;
}

void ClassicBootLoader::FinishWrite(Line& line) {
  const ClassicFaults& f = options_.faults;
  ++blocks_;
  state_ = State::Command;
  if (blocks_ == f.silentBlock) return;
  const std::uint32_t address24 = address_[0] | (address_[1] << 8) | (address_[2] << 16);
  const auto at = FlashAddress(address24);
  if (blocks_ == f.nakBlock || !at) {
    line.Send(kRefused);
  } else {
    flash_.Program(*at, std::span(block_).first(options_.blockSize));
    line.Send(kDone);
  }
  if (blocks_ == f.hangUpAfterBlock) {
    state_ = State::Dead;
    line.HangUp();
  }
}

void ClassicBootLoader::AnswerVerify(Line& line) {
  const ClassicFaults& f = options_.faults;
  ++verifies_;
  std::array<std::uint8_t, 3> echo = address_;
  if (verifies_ == f.badAddressEcho) echo[0] ^= 0x01;
  line.Send(echo);
  if (verifies_ == f.noVerifyData) return;
  const std::uint32_t address24 = address_[0] | (address_[1] << 8) | (address_[2] << 16);
  // Outside the flash the program reads erased bytes; only the write refuses such a block.
  const std::uint32_t start = FlashAddress(address24).value_or(address24);
  for (std::uint32_t i = 0; i < options_.blockSize; ++i) {
    std::uint8_t b = flash_.At(start + i);
    if (i + 1 == options_.blockSize && verifies_ == f.flipVerifyByte) b ^= 0x01;
    line.Send(b);
  }
}

}  // namespace vantrel::simulator
