#include "inquiry/new_bit_rate_frame.h"

#include <algorithm>

#include "platform/text.h"

namespace vantrel {
std::span<const std::uint8_t> BuildNewBitRateData(const BootDefinition& def, CommandData& out) {
  const auto rate = static_cast<std::uint16_t>(platform::ReadLeadingDecimal(def.BaudP) / 100);
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
