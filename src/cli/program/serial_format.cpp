#include "cli/program/serial_format.h"

#include <limits>

#include "cli/entry/address_text.h"
#include "platform/text.h"

namespace vantrel::cli {
namespace {

constexpr std::size_t kLongestDecimal = 20;  // 18446744073709551615

}  // namespace

std::optional<SerialFormat> ParseSerialFormat(std::string_view text) {
  if (text.starts_with("ascii:")) {
    const auto width = platform::ParseUnsigned(text.substr(6), kLongestDecimal);
    if (!width || *width == 0 || text.substr(6).starts_with("0x")) return std::nullopt;
    return SerialFormat{SerialOrder::Ascii, static_cast<std::size_t>(*width)};
  }
  if (text.size() != 4 || !(text.starts_with("le") || text.starts_with("be"))) return std::nullopt;
  const SerialOrder order = text[0] == 'l' ? SerialOrder::Little : SerialOrder::Big;
  const std::string_view bits = text.substr(2);
  if (bits == "16") return SerialFormat{order, 2};
  if (bits == "32") return SerialFormat{order, 4};
  if (bits == "64") return SerialFormat{order, 8};
  return std::nullopt;
}

std::string SerialFormatName(SerialFormat f) {
  if (f.order == SerialOrder::Ascii) return "ascii:" + std::to_string(f.width);
  return (f.order == SerialOrder::Little ? "le" : "be") + std::to_string(8 * f.width);
}

std::uint64_t SerialLimit(SerialFormat f) {
  constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
  if (f.order != SerialOrder::Ascii)
    return f.width >= 8 ? kMax : (std::uint64_t{1} << 8 * f.width) - 1;
  if (f.width >= kLongestDecimal) return kMax;
  std::uint64_t limit = 1;
  for (std::size_t i = 0; i < f.width; ++i) limit *= 10;
  return limit - 1;
}

std::vector<std::uint8_t> SerialBytes(std::uint64_t number, SerialFormat f) {
  if (number > SerialLimit(f)) return {};
  std::vector<std::uint8_t> bytes(f.width);
  for (std::size_t i = 0; i < f.width; ++i) {
    const std::size_t at = f.order == SerialOrder::Little ? i : f.width - 1 - i;
    if (f.order == SerialOrder::Ascii) {
      bytes[at] = static_cast<std::uint8_t>('0' + number % 10);
      number /= 10;
    } else {
      bytes[at] = static_cast<std::uint8_t>(number & 0xFF);
      number >>= 8;
    }
  }
  return bytes;
}

std::optional<SerialOption> ParseSerialOption(std::string_view text, std::string& error) {
  const std::string given(text);
  std::string_view parts[3];
  std::size_t n = 0;
  for (; n < 3 && !text.empty(); ++n) {
    const auto colon = text.find(':');
    parts[n] = text.substr(0, colon);
    text = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  }
  SerialOption o;
  const auto address = platform::ParseUnsigned(parts[0], 0xFFFFFFFF);
  const auto first = platform::ParseUnsigned(parts[1]);
  const auto step =
      parts[2].empty() ? std::optional<std::uint64_t>(1) : platform::ParseUnsigned(parts[2]);
  const auto format =
      text.empty() ? std::optional<SerialFormat>(o.format) : ParseSerialFormat(text);
  const std::string hexAddress = address ? std::string() : HexAddressSpelling(parts[0]);
  if (!hexAddress.empty()) {
    error = "--serial: write the address in hexadecimal as " + hexAddress +
            " (or in decimal), not '" + std::string(parts[0]) + "'";
  } else if (n < 2 || !address || !first) {
    error = "--serial takes ADDR:FIRST[:STEP[:FORMAT]], not '" + given + "'";
  } else if (!step || *step == 0) {
    error =
        "--serial: the step must be a whole number above 0, not '" + std::string(parts[2]) + "'";
  } else if (!format) {
    error =
        "--serial: the format is le16, le32, le64, be16, be32, be64 or ascii:N (N from 1 to "
        "20), not '" +
        std::string(text) + "'";
  } else if (*first > SerialLimit(*format)) {
    error = "--serial: " + std::to_string(*first) + " does not fit " + SerialFormatName(*format) +
            " (at most " + std::to_string(SerialLimit(*format)) + ")";
  } else {
    return SerialOption{static_cast<std::uint32_t>(*address), *first, *step, *format};
  }
  return std::nullopt;
}

}  // namespace vantrel::cli
