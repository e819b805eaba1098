#include "simulator/inquiry_boot_loader.h"

#include <algorithm>
#include <cstdio>

namespace vantrel::simulator {
namespace {

constexpr std::uint8_t kEndOfJob = 0xFF;
constexpr std::uint32_t kEndOfProgramming = 0xFFFFFFFFu;
constexpr std::size_t kPaddedDevices = 65;
constexpr std::size_t kPaddedClockModes = 70;
constexpr std::size_t kMaxOneByteData = 255;

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Our own sum, not the host's: a fault in the host's checksum must not be agreed with.
std::uint8_t Sum(std::span<const std::uint8_t> bytes) {
  std::uint8_t sum = 0;
  for (auto b : bytes) sum = static_cast<std::uint8_t>(sum + b);
  return sum;
}

void PutAreas(std::vector<std::uint8_t>& out, const std::vector<AddressArea>& areas) {
  out.push_back(static_cast<std::uint8_t>(areas.size()));
  for (const auto& a : areas) {
    PutBig(out, a.top, 4);
    PutBig(out, a.end, 4);
  }
}

}  // namespace

InquiryBootLoader::InquiryBootLoader(const InquiryConfig& config, Flash& flash)
    : config_(config), flash_(flash) {
  const auto& d = config_.device;
  devices_ = d.devices;
  if (config_.faults.manyDevices) {
    for (std::size_t i = devices_.size(); i < kPaddedDevices; ++i) {
      char code[8];
      std::snprintf(code, sizeof code, "Z%03u", static_cast<unsigned>(i));
      devices_.push_back({code, std::string("PAD-") + code});
    }
  }
  clockModes_ = d.clockModes;
  if (config_.faults.manyClockModes) {
    for (unsigned mode = 0; clockModes_.size() < kPaddedClockModes && mode < 256; ++mode) {
      auto m = static_cast<std::uint8_t>(mode);
      if (std::find(clockModes_.begin(), clockModes_.end(), m) == clockModes_.end()) {
        clockModes_.push_back(m);
      }
    }
  }
  bootMatSpan_ = d.UserBootMatSpan();
  bootMat_.assign(bootMatSpan_.size, 0xFF);
  block_.assign(d.writeSize, 0xFF);
}

void InquiryBootLoader::Advance(std::uint64_t nowUs, Line& line) {
  if (switchAtUs_ && nowUs >= *switchAtUs_) {
    line.SetListeningBaud(newBaud_);
    switchAtUs_.reset();
  }
  if (phase_ == Phase::Erasing && nowUs >= eraseDoneUs_) {
    phase_ = Phase::Programming;
    if (config_.faults.eraseAnswer >= 0) {
      line.Send(static_cast<std::uint8_t>(config_.faults.eraseAnswer));
    }
  }
  if (programmingClosed_ && rx_ == Rx::Command &&
      nowUs - lastByteUs_ >= std::uint64_t{config_.endQuietMs} * 1000) {
    ended_ = true;
  }
}

void InquiryBootLoader::OnByte(std::uint8_t byte, std::uint64_t nowUs, Line& line) {
  Advance(nowUs, line);
  if (ended_) return;
  lastByteUs_ = nowUs;
  sum_ = static_cast<std::uint8_t>(sum_ + byte);
  switch (rx_) {
    case Rx::Command:
      OnCommand(byte, nowUs, line);
      return;
    case Rx::FrameSize:
      expected_ = byte;
      received_ = 0;
      rx_ = expected_ == 0 ? Rx::FrameChecksum : Rx::FrameData;
      return;
    case Rx::FrameData:
      frame_[received_++] = byte;
      if (received_ == expected_) rx_ = Rx::FrameChecksum;
      return;
    case Rx::FrameChecksum:
      rx_ = Rx::Command;
      if (sum_ != 0) {
        line.Send(kNak);
        return;
      }
      OnFrame(nowUs, line);
      return;
    case Rx::ProgramAddress:
      address_ = (address_ << 8) | byte;
      if (++received_ == 4) {
        received_ = 0;
        // The end-of-programming frame carries no data.
        rx_ =
            address_ == kEndOfProgramming || block_.empty() ? Rx::ProgramChecksum : Rx::ProgramData;
      }
      return;
    case Rx::ProgramData:
      block_[received_++] = byte;
      if (received_ == block_.size()) rx_ = Rx::ProgramChecksum;
      return;
    case Rx::ProgramChecksum:
      rx_ = Rx::Command;
      OnProgramFrame(line);
      return;
  }
}

void InquiryBootLoader::OnCommand(std::uint8_t command, std::uint64_t nowUs, Line& line) {
  command_ = command;
  sum_ = command;
  if (phase_ == Phase::Erasing) return;  // busy: the erase answer comes first
  // Once programming is over only reads may follow; anything else is a host that has moved on
  // (the end-of-job byte, or the first byte of its next job).
  if (programmingClosed_ && command != 0x52) {
    ended_ = true;
    return;
  }
  if (phase_ == Phase::AwaitConfirm) {
    if (command != kAck) {
      line.Send(kNak);
      return;
    }
    phase_ = Phase::Ready;
    if (!config_.faults.silentAtNewRate) line.Send(kAck);
    return;
  }
  switch (command) {
    case 0x10:
    case 0x11:
    case 0x3F:
    case 0x52:
      rx_ = Rx::FrameSize;
      return;
    case 0x50:
      rx_ = Rx::ProgramAddress;
      address_ = 0;
      received_ = 0;
      return;
    case 0x20:
    case 0x21:
    case 0x22:
    case 0x23:
    case 0x24:
    case 0x25:
    case 0x26:
    case 0x27:
      SendInquiryAnswer(command, line);
      return;
    case 0x40:
      if (phase_ != Phase::Ready && phase_ != Phase::Programming) break;
      flash_.Erase();
      std::fill(bootMat_.begin(), bootMat_.end(), 0xFF);
      phase_ = Phase::Erasing;
      eraseDoneUs_ = nowUs + std::uint64_t{config_.eraseMs} * 1000;
      Advance(nowUs, line);
      return;
    case 0x42:
    case 0x43:
      if (phase_ != Phase::Programming || config_.faults.nakMatSelection) break;
      if (command == 0x42 && config_.device.userBootMat.empty()) break;
      mat_ = command == 0x42 ? Mat::UserBoot : Mat::User;
      line.Send(kAck);
      return;
    case kEndOfJob:
      ended_ = true;
      return;
    default:
      break;
  }
  line.Send(kNak);
}

void InquiryBootLoader::OnFrame(std::uint64_t nowUs, Line& line) {
  auto data = std::span<const std::uint8_t>(frame_.data(), expected_);
  bool ok = false;
  switch (command_) {
    case 0x10:
      if (phase_ == Phase::Inquiry && data.size() == 4) {
        std::string code(data.begin(), data.end());
        ok = std::any_of(devices_.begin(), devices_.end(),
                         [&](const DeviceEntry& d) { return d.code == code; });
        deviceSelected_ = deviceSelected_ || ok;
      }
      break;
    case 0x11:
      if (phase_ == Phase::Inquiry && deviceSelected_ && data.size() == 1) {
        // A target without clock modes takes mode 0.
        ok = clockModes_.empty()
                 ? data[0] == 0
                 : std::find(clockModes_.begin(), clockModes_.end(), data[0]) != clockModes_.end();
        clockModeSelected_ = clockModeSelected_ || ok;
      }
      break;
    case 0x3F:
      ok = phase_ == Phase::Inquiry && deviceSelected_ && clockModeSelected_ &&
           AcceptBitRate(data) && !config_.faults.nakBitRate;
      if (ok) {
        newBaud_ = ((std::uint32_t{data[0]} << 8) | data[1]) * 100;
        // The acknowledgement leaves at the old rate; the UART changes once it has gone out.
        std::uint32_t oldBaud = std::max<std::uint32_t>(line.ListeningBaud(), 1);
        line.Send(kAck);
        switchAtUs_ = nowUs + (10'000'000ull + oldBaud - 1) / oldBaud;
        phase_ = Phase::AwaitConfirm;
        return;
      }
      break;
    case 0x52:
      if (phase_ == Phase::Programming && data.size() == 9) {
        AnswerRead(data, line);
        return;
      }
      break;
    default:
      break;
  }
  line.Send(ok ? kAck : kNak);
}

bool InquiryBootLoader::AcceptBitRate(std::span<const std::uint8_t> data) const {
  if (data.size() < 5 || data.size() != 5u + data[4]) return false;
  if (((data[0] << 8) | data[1]) == 0) return false;
  const auto& d = config_.device;
  auto freq = static_cast<std::uint16_t>((data[2] << 8) | data[3]);
  if (!d.frequencies.empty() &&
      std::none_of(d.frequencies.begin(), d.frequencies.end(),
                   [&](const FrequencyRange& r) { return freq >= r.min && freq <= r.max; })) {
    return false;
  }
  std::size_t count = data[4];
  if (count > d.ratios.size()) return false;
  for (std::size_t i = 0; i < count; ++i) {
    const auto& list = d.ratios[i];
    if (std::find(list.begin(), list.end(), data[5 + i]) == list.end()) return false;
  }
  return true;
}

void InquiryBootLoader::OnProgramFrame(Line& line) {
  if (sum_ != 0 || phase_ != Phase::Programming || programmingClosed_) {
    line.Send(kNak);
    return;
  }
  if (address_ == kEndOfProgramming) {
    programmingClosed_ = true;
    line.Send(kAck);
    return;
  }
  ++blocksSeen_;
  auto length = static_cast<std::uint32_t>(block_.size());
  bool ok = blocksSeen_ != config_.faults.nakBlock && mat_ != Mat::None &&
            InsideMat(mat_, address_, length);
  if (ok && mat_ == Mat::User) ok = flash_.Program(address_, block_);
  if (ok && mat_ == Mat::UserBoot) ok = StoreBootMat(address_, block_);
  line.Send(ok ? kAck : kNak);
  if (blocksSeen_ == config_.faults.hangUpAfterBlock) line.HangUp();
}

void InquiryBootLoader::AnswerRead(std::span<const std::uint8_t> data, Line& line) {
  ++readsSeen_;
  Mat mat = data[0] == 0x00 ? Mat::UserBoot : data[0] == 0x01 ? Mat::User : Mat::None;
  std::uint32_t address = 0;
  std::uint32_t length = 0;
  for (int i = 0; i < 4; ++i) {
    address = (address << 8) | data[1 + i];
    length = (length << 8) | data[5 + i];
  }
  if (mat == Mat::None || length == 0 || length > kMaxMatSpan || !InsideMat(mat, address, length)) {
    line.Send(kNak);
    return;
  }
  const auto& f = config_.faults;
  bool wrongLength = readsSeen_ == f.readWrongLength;
  std::vector<std::uint8_t> answer{0x52};
  answer.reserve(6 + length + 1);
  PutBig(answer, wrongLength ? length + 1 : length, 4);
  for (std::uint32_t i = 0; i < length; ++i) answer.push_back(ReadMat(mat, address + i));
  if (wrongLength) answer.push_back(0xFF);  // as much data as the header claims
  if (readsSeen_ == f.readFlippedData) answer.back() ^= 0x01;
  std::uint8_t checksum = static_cast<std::uint8_t>(0x100 - Sum(answer));
  if (readsSeen_ == f.readWrongChecksum) ++checksum;
  answer.push_back(checksum);
  line.Send(answer);
}

void InquiryBootLoader::SendInquiryAnswer(std::uint8_t command, Line& line) {
  if (phase_ != Phase::Inquiry && phase_ != Phase::Ready && phase_ != Phase::Programming) {
    line.Send(kNak);
    return;
  }
  const auto& d = config_.device;
  std::vector<std::uint8_t> data;
  switch (command) {
    case 0x20:
      // The count stays true even when not every device fits the one-byte size.
      data.push_back(static_cast<std::uint8_t>(devices_.size()));
      for (const auto& dev : devices_) {
        std::size_t n = dev.code.size() + dev.name.size();
        if (data.size() + 1 + n > kMaxOneByteData) break;
        data.push_back(static_cast<std::uint8_t>(n));
        data.insert(data.end(), dev.code.begin(), dev.code.end());
        data.insert(data.end(), dev.name.begin(), dev.name.end());
      }
      break;
    case 0x21:
      data.push_back(static_cast<std::uint8_t>(clockModes_.size()));
      data.insert(data.end(), clockModes_.begin(), clockModes_.end());
      break;
    case 0x22:
      data.push_back(static_cast<std::uint8_t>(d.ratios.size()));
      for (const auto& list : d.ratios) {
        data.push_back(static_cast<std::uint8_t>(list.size()));
        data.insert(data.end(), list.begin(), list.end());
      }
      break;
    case 0x23:
      data.push_back(static_cast<std::uint8_t>(d.frequencies.size()));
      for (const auto& r : d.frequencies) {
        PutBig(data, r.min, 2);
        PutBig(data, r.max, 2);
      }
      break;
    case 0x24:
      PutAreas(data, d.userBootMat);
      break;
    case 0x25:
      PutAreas(data, d.userMat);
      break;
    case 0x26:
      PutAreas(data, d.eraseBlocks);
      break;
    case 0x27:
      PutBig(data, d.writeSize, 2);
      break;
    default:
      return;
  }
  const auto& f = config_.faults;
  std::vector<std::uint8_t> answer;
  answer.reserve(data.size() + 4);
  answer.push_back(static_cast<std::uint8_t>(command + 0x10 + (f.wrongCodeFor == command ? 1 : 0)));
  PutBig(answer, static_cast<std::uint32_t>(data.size()), command == 0x26 ? 2 : 1);
  answer.insert(answer.end(), data.begin(), data.end());
  std::uint8_t checksum = static_cast<std::uint8_t>(0x100 - Sum(answer));
  if (f.wrongChecksumFor == command) ++checksum;
  answer.push_back(checksum);
  line.Send(answer);
}

const std::vector<AddressArea>& InquiryBootLoader::AreasOf(Mat mat) const {
  static const std::vector<AddressArea> kNone;
  if (mat == Mat::User) return config_.device.userMat;
  if (mat == Mat::UserBoot) return config_.device.userBootMat;
  return kNone;
}

bool InquiryBootLoader::InsideMat(Mat mat, std::uint32_t address, std::uint32_t length) const {
  const auto& areas = AreasOf(mat);
  std::uint64_t pos = address;
  const std::uint64_t end = std::uint64_t{address} + length;  // exclusive
  // Adjacent areas together may hold the range.
  while (pos < end) {
    auto it = std::find_if(areas.begin(), areas.end(),
                           [&](const AddressArea& a) { return pos >= a.top && pos <= a.end; });
    if (it == areas.end()) return false;
    pos = std::uint64_t{it->end} + 1;
  }
  return true;
}

bool InquiryBootLoader::StoreBootMat(std::uint32_t address, std::span<const std::uint8_t> data) {
  if (address < bootMatSpan_.base || data.size() > bootMat_.size() ||
      address - bootMatSpan_.base > bootMat_.size() - data.size()) {
    return false;
  }
  std::copy(data.begin(), data.end(), bootMat_.begin() + (address - bootMatSpan_.base));
  return true;
}

std::uint8_t InquiryBootLoader::ReadMat(Mat mat, std::uint32_t address) const {
  if (mat == Mat::User) return flash_.At(address);
  if (address < bootMatSpan_.base || address - bootMatSpan_.base >= bootMat_.size()) return 0xFF;
  return bootMat_[address - bootMatSpan_.base];
}

std::unique_ptr<BootLoader> MakeInquiryBootLoader(const InquiryConfig& config, Flash& flash) {
  return std::make_unique<InquiryBootLoader>(config, flash);
}

}  // namespace vantrel::simulator
