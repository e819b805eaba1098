#include "objfile/srecord.h"

#include <algorithm>

#include "objfile/hex_digits.h"

namespace vantrel {
namespace {

SRecord Fail(SRecord r, std::string_view code) {
  r.error = code;
  return r;
}

}  // namespace

SRecord ParseSRecord(std::string_view line) {
  SRecord r;
  if (line.empty() || line[0] != 'S') return Fail(r, "01");
  r.type = line.size() > 1 ? line[1] : '\0';

  std::uint32_t value = 0;
  if (ParseHexBytes(line.substr(std::min<std::size_t>(2, line.size())), 1, value) < 0) {
    return Fail(r, "02");
  }
  r.count = static_cast<std::uint8_t>(value);

  int addressBytes = 0;
  switch (r.type) {
    case '0':
      r.kind = RecordKind::Header;
      addressBytes = 2;
      break;
    case '1':
      r.kind = RecordKind::Data;
      addressBytes = 2;
      break;
    case '2':
      r.kind = RecordKind::Data;
      addressBytes = 3;
      break;
    case '3':
      r.kind = RecordKind::Data;
      addressBytes = 4;
      break;
    case '7':
      r.kind = RecordKind::End;
      addressBytes = 4;
      break;
    case '8':
      r.kind = RecordKind::End;
      addressBytes = 3;
      break;
    case '9':
      r.kind = RecordKind::End;
      addressBytes = 2;
      break;
    default:
      return Fail(r, "03");
  }

  std::size_t pos = 4;
  const int addressSum =
      ParseHexBytes(line.substr(std::min(pos, line.size())), addressBytes, value);
  if (addressSum < 0) return Fail(r, "04");
  r.address = value;
  pos += 2 * static_cast<std::size_t>(addressBytes);
  if (r.kind != RecordKind::Data) return r;

  unsigned sum = r.count + static_cast<unsigned>(addressSum);
  const int dataBytes = r.count - addressBytes - 1;
  for (int i = 0; i < dataBytes; ++i) {
    const int byteSum = ParseHexBytes(line.substr(std::min(pos, line.size())), 1, value);
    if (byteSum < 0) return Fail(r, "06");
    r.data[r.dataLength++] = static_cast<std::uint8_t>(value);
    sum += static_cast<unsigned>(byteSum);
    pos += 2;
  }

  const int checksum = ParseHexBytes(line.substr(std::min(pos, line.size())), 1, value);
  if (checksum < 0) return Fail(r, "08");
  sum = (sum + static_cast<unsigned>(checksum)) & 0xFF;
  // One's-complement checksums sum to 0xFF, two's-complement ones to 0x00.
  if (sum != 0xFF && sum != 0x00) return Fail(r, "09");
  r.twosComplement = sum == 0x00;
  return r;
}

}  // namespace vantrel
