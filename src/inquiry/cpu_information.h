#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantrel {

inline constexpr int kMaxDevices = 64;
inline constexpr int kMaxClockModes = 64;
inline constexpr int kMaxClockTypes = 64;
inline constexpr int kMaxRatios = 64;
inline constexpr int kMaxFreqRanges = 32;
inline constexpr int kMaxMatAreas = 16;
inline constexpr int kMaxEraseBlocks = 128;
// The leading characters of a device's answer that name its code.
inline constexpr std::size_t kDeviceCodeLength = 4;

struct AddressRange {
  std::uint32_t Top = 0;
  std::uint32_t End = 0;
};

// What the target's boot loader reported during the inquiries.
struct CpuInformation {
  std::uint8_t DeviceNo = 0;
  std::array<std::array<char, 16>, kMaxDevices> DeviceCode{};  // zero-terminated
  std::array<std::array<char, 33>, kMaxDevices>
      DeviceName{};  // up to 32 characters, zero-terminated
  std::uint8_t ClockModeNo = 0;
  std::array<std::uint8_t, kMaxClockModes> ClockMode{};
  std::uint8_t MultipleTypeNo = 0;
  std::array<std::uint8_t, kMaxClockTypes> MultipleRatioNo{};
  std::array<std::array<std::uint8_t, kMaxRatios>, kMaxClockTypes> Ratio{};
  std::uint8_t FreqNo = 0;
  std::array<std::uint16_t, kMaxFreqRanges> Fmin{};
  std::array<std::uint16_t, kMaxFreqRanges> Fmax{};
  std::uint8_t UserBootMatAreaNo = 0;
  std::array<AddressRange, kMaxMatAreas> UserBootMat{};
  std::uint8_t UserMatAreaNo = 0;
  std::array<AddressRange, kMaxMatAreas> UserMat{};
  std::uint8_t EraseBlockNo = 0;
  std::array<AddressRange, kMaxEraseBlocks> EraseBlock{};
  std::uint16_t WriteBlockSize = 0;
};

}  // namespace vantrel
