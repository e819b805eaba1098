#include "objfile/srecord_writer.h"

#include <cstdio>

namespace vantrel {
namespace {

void AppendHex(std::string& out, std::uint8_t byte, unsigned& sum) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", byte);
  out += text;
  sum += byte;
}

}  // namespace

void AppendSRecord(std::string& out, char type, std::uint32_t address,
                   std::span<const std::uint8_t> data) {
  out += 'S';
  out += type;
  unsigned sum = 0;
  AppendHex(out, static_cast<std::uint8_t>(4 + data.size() + 1), sum);
  for (int shift = 24; shift >= 0; shift -= 8) {
    AppendHex(out, static_cast<std::uint8_t>(address >> shift), sum);
  }
  for (const std::uint8_t b : data) AppendHex(out, b, sum);
  unsigned ignored = 0;
  AppendHex(out, static_cast<std::uint8_t>(~sum), ignored);
  out += '\n';
}

}  // namespace vantrel
