#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

enum class SerialOrder { Little, Big, Ascii };

// How a serial number lies in the flash: binary of 2, 4 or 8 bytes, or decimal text of `width`
// characters, zero-padded.
struct SerialFormat {
  SerialOrder order = SerialOrder::Little;
  std::size_t width = 4;
};

// le16, le32, le64, be16, be32, be64 or ascii:N.
std::optional<SerialFormat> ParseSerialFormat(std::string_view text);
std::string SerialFormatName(SerialFormat format);
// The largest number the format holds.
std::uint64_t SerialLimit(SerialFormat format);
// The number's bytes; empty when it does not fit.
std::vector<std::uint8_t> SerialBytes(std::uint64_t number, SerialFormat format);

// --serial ADDR:FIRST[:STEP[:FORMAT]]
struct SerialOption {
  std::uint32_t address = 0;
  std::uint64_t first = 0;
  std::uint64_t step = 1;
  SerialFormat format;
};

// The option's value; nothing, and why, when it is not one.
std::optional<SerialOption> ParseSerialOption(std::string_view text, std::string& error);

}  // namespace vantrel::cli
