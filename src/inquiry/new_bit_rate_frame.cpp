#include "inquiry/new_bit_rate_frame.h"

#include <algorithm>
#include <limits>

namespace vantrel {
namespace {

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::int64_t ReadDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kLimit + 1);
  }
  return negative ? -value : std::min(value, kLimit);
}

std::span<const std::uint8_t> BuildNewBitRateData(const BootDefinition& def, CommandData& out) {
  const auto rate = static_cast<std::uint16_t>(ReadDecimal(def.BaudP) / 100);
  const auto freq = static_cast<std::uint16_t>(def.ClockFreq);
  const int ratioCount = std::clamp(def.MulRatioNo, 0, kMaxMulRatios);
  const std::int32_t ratios[kMaxMulRatios] = {def.MulRatio1, def.MulRatio2, def.MulRatio3,
                                              def.MulRatio4};
  out[0] = static_cast<std::uint8_t>(rate >> 8);
  out[1] = static_cast<std::uint8_t>(rate);
  out[2] = static_cast<std::uint8_t>(freq >> 8);
  out[3] = static_cast<std::uint8_t>(freq);
  out[4] = static_cast<std::uint8_t>(ratioCount);
  for (int i = 0; i < ratioCount; ++i) out[5 + i] = static_cast<std::uint8_t>(ratios[i]);
  return std::span<const std::uint8_t>(out).first(5 + static_cast<std::size_t>(ratioCount));
}

}  // namespace vantrel
