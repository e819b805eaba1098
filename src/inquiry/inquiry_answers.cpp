#include "inquiry/inquiry_answers.h"

#include <algorithm>

#include "inquiry/answer_reader.h"

namespace vantrel {
namespace {

// Copies as text: a zero byte ends it, and the slot keeps room for its terminator.
template <std::size_t N>
void CopyText(std::span<const std::uint8_t> from, std::array<char, N>& to) {
  to.fill(0);
  for (std::size_t i = 0; i < from.size() && i + 1 < N && from[i] != 0; ++i) {
    to[i] = static_cast<char>(from[i]);
  }
}

template <std::size_t N>
bool ReadRanges(AnswerReader& reader, std::uint8_t announced, bool frameCut, std::uint8_t& count,
                std::span<AddressRange, N> ranges) {
  const int wanted = std::min<int>(announced, static_cast<int>(N));
  for (int i = 0; i < wanted; ++i) {
    AddressRange range;
    if (!reader.U32(range.Top) || !reader.U32(range.End)) return frameCut;
    ranges[i] = range;
    count = static_cast<std::uint8_t>(i + 1);
  }
  return true;
}

}  // namespace

bool ParseDeviceAnswer(std::span<const std::uint8_t> data, CpuInformation& info) {
  for (auto& code : info.DeviceCode) code.fill(0);
  for (auto& name : info.DeviceName) name.fill(0);
  info.DeviceNo = 0;
  AnswerReader reader(data);
  std::uint8_t devices = 0;
  if (!reader.Byte(devices) || devices > kMaxDevices) return false;
  for (int i = 0; i < devices; ++i) {
    std::uint8_t chars = 0;
    std::span<const std::uint8_t> code;
    std::span<const std::uint8_t> name;
    if (!reader.Byte(chars) || chars < kDeviceCodeLength) return false;
    if (!reader.Take(kDeviceCodeLength, code) || !reader.Take(chars - kDeviceCodeLength, name)) {
      return false;
    }
    CopyText(code, info.DeviceCode[i]);
    CopyText(name, info.DeviceName[i]);  // names beyond 32 characters are cut
    info.DeviceNo = static_cast<std::uint8_t>(i + 1);
  }
  return true;
}

bool ParseClockModeAnswer(std::span<const std::uint8_t> data, CpuInformation& info) {
  info.ClockModeNo = 0;
  AnswerReader reader(data);
  std::uint8_t modes = 0;
  if (!reader.Byte(modes)) return false;
  const int kept = std::min<int>(modes, kMaxClockModes);
  for (int i = 0; i < kept; ++i) {
    if (!reader.Byte(info.ClockMode[i])) return false;
    info.ClockModeNo = static_cast<std::uint8_t>(i + 1);
  }
  return true;
}

bool ParseRatioAnswer(std::span<const std::uint8_t> data, CpuInformation& info) {
  info.MultipleTypeNo = 0;
  AnswerReader reader(data);
  std::uint8_t types = 0;
  if (!reader.Byte(types)) return false;
  const int kept = std::min<int>(types, kMaxClockTypes);
  for (int i = 0; i < kept; ++i) {
    std::uint8_t ratios = 0;
    std::span<const std::uint8_t> bytes;
    if (!reader.Byte(ratios) || !reader.Take(ratios, bytes)) return false;
    info.MultipleRatioNo[i] = ratios;  // as reported, even beyond what is stored
    const auto stored = std::min<std::size_t>(bytes.size(), kMaxRatios);
    std::copy_n(bytes.begin(), stored, info.Ratio[i].begin());
    info.MultipleTypeNo = static_cast<std::uint8_t>(i + 1);
  }
  return true;
}

bool ParseFrequencyAnswer(std::span<const std::uint8_t> data, CpuInformation& info) {
  info.FreqNo = 0;
  AnswerReader reader(data);
  std::uint8_t ranges = 0;
  if (!reader.Byte(ranges)) return false;
  const int kept = std::min<int>(ranges, kMaxFreqRanges);
  for (int i = 0; i < kept; ++i) {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    if (!reader.U16(low) || !reader.U16(high)) return false;
    info.Fmin[i] = low;
    info.Fmax[i] = high;
    info.FreqNo = static_cast<std::uint8_t>(i + 1);
  }
  return true;
}

bool ParseMatAreaAnswer(std::span<const std::uint8_t> data, std::uint8_t& count,
                        std::span<AddressRange, kMaxMatAreas> areas) {
  count = 0;
  AnswerReader reader(data);
  std::uint8_t announced = 0;
  if (!reader.Byte(announced)) return false;
  return ReadRanges(reader, announced, false, count, areas);
}

bool ParseEraseBlockAnswer(std::span<const std::uint8_t> data, bool frameCut,
                           CpuInformation& info) {
  info.EraseBlockNo = 0;
  AnswerReader reader(data);
  std::uint8_t announced = 0;
  if (!reader.Byte(announced)) return false;
  return ReadRanges(reader, announced, frameCut, info.EraseBlockNo,
                    std::span<AddressRange, kMaxEraseBlocks>(info.EraseBlock));
}

bool ParseWriteSizeAnswer(std::span<const std::uint8_t> data, CpuInformation& info) {
  AnswerReader reader(data);
  return reader.U16(info.WriteBlockSize);
}

}  // namespace vantrel
