#include "objfile/intel_hex.h"

#include <cstdio>

#include "objfile/address_space.h"
#include "objfile/hex_digits.h"

namespace vantrel {
namespace {

HexRecord Fail(HexRecord r, HexFault fault) {
  r.fault = fault;
  return r;
}

// The data bytes each record type other than data must hold.
int TypeLength(std::uint8_t type) {
  constexpr int kLengths[] = {-1, 0, 2, 4, 2, 4};
  return kLengths[type];
}

std::string Hex2(unsigned value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

}  // namespace

HexRecord ParseHexRecord(std::string_view line) {
  HexRecord r;
  if (line.empty() || line[0] != ':') return Fail(r, HexFault::NoColon);
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (HexDigitValue(line[i]) == 0xFF) {
      r.column = i + 1;
      return Fail(r, HexFault::NotHexDigit);
    }
  }
  std::uint32_t value = 0;
  if (line.size() < 3) return Fail(r, HexFault::Length);
  ParseHexBytes(line.substr(1), 1, value);
  r.count = static_cast<std::uint8_t>(value);
  if (line.size() != 11 + 2 * std::size_t{r.count}) return Fail(r, HexFault::Length);

  unsigned sum = r.count + ParseHexBytes(line.substr(3), 2, value);
  r.offset = static_cast<std::uint16_t>(value);
  sum += ParseHexBytes(line.substr(7), 1, value);
  r.type = static_cast<std::uint8_t>(value);
  for (std::size_t i = 0; i < r.count; ++i) {
    sum += ParseHexBytes(line.substr(9 + 2 * i), 1, value);
    r.data[i] = static_cast<std::uint8_t>(value);
  }
  ParseHexBytes(line.substr(9 + 2 * std::size_t{r.count}), 1, value);
  r.checksum = static_cast<std::uint8_t>(value);
  r.expected = static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
  if (r.checksum != r.expected) return Fail(r, HexFault::Checksum);
  if (r.type > 5) return Fail(r, HexFault::UnknownType);
  if (r.type != 0 && r.count != TypeLength(r.type)) return Fail(r, HexFault::TypeLength);
  return r;
}

const HexRecord& HexFileReader::Take(std::string_view line) {
  data_ = false;
  if (line.empty()) {
    record_ = {};
    return record_;
  }
  record_ = ParseHexRecord(line);
  if (ended_) {
    record_.fault = HexFault::AfterEnd;
    return record_;
  }
  if (record_.fault != HexFault::None) return record_;
  const std::uint32_t value = (std::uint32_t{record_.data[0]} << 8) | record_.data[1];
  switch (record_.type) {
    case 0:
      if (record_.count > 0 && Address(record_.count - 1) > kTopAddress) {
        record_.fault = HexFault::PastTop;
        return record_;
      }
      data_ = true;
      break;
    case 1:
      ended_ = true;
      break;
    case 2:
      base_ = value << 4;
      segmented_ = true;
      break;
    case 4:
      base_ = value << 16;
      segmented_ = false;
      break;
    default:  // start addresses mean nothing to a flash
      break;
  }
  return record_;
}

std::uint64_t HexFileReader::Address(std::size_t i) const {
  // A segment's offset wraps within its 64 KiB; a linear address goes on into the next 64 KiB.
  const std::uint64_t at = record_.offset + i;
  return std::uint64_t{base_} + (segmented_ ? at & 0xFFFF : at);
}

std::string HexFaultText(const HexRecord& r) {
  switch (r.fault) {
    case HexFault::None:
      return {};
    case HexFault::NoColon:
      return "it does not begin with ':': is it an Intel HEX file?";
    case HexFault::NotHexDigit:
      return "character " + std::to_string(r.column) + " is not a hex digit";
    case HexFault::Length:
      return "its length does not match its byte count " + Hex2(r.count) + " (" +
             std::to_string(r.count) + " data bytes make " + std::to_string(11 + 2 * r.count) +
             " characters)";
    case HexFault::Checksum:
      return "its checksum " + Hex2(r.checksum) + " does not add up (" + Hex2(r.expected) +
             " would)";
    case HexFault::UnknownType:
      return "record type " + Hex2(r.type) + " is not one of 00 to 05";
    case HexFault::TypeLength:
      return "a type " + Hex2(r.type) + " record holds " + std::to_string(TypeLength(r.type)) +
             " data bytes, not " + std::to_string(r.count);
    case HexFault::AfterEnd:
      return "a record follows the end-of-file record (type 01)";
    case HexFault::NoEnd:
      return "the file ends without an end-of-file record (type 01): is it complete?";
    case HexFault::PastTop:
      return std::string(kPastTopWords);
  }
  return {};
}

}  // namespace vantrel
