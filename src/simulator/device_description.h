#pragma once

// What the simulated inquiry/selection boot loader reports about itself, read from a small text
// file. The format, one entry per line:
//
//   # a line whose first non-blank character is '#' is a comment; blank lines are ignored
//   device        VT01 VTR-100            4-character device code, then the product name (the
//                                         rest of the line, 1 to 251 bytes, blanks allowed)
//   clock-mode    0x00 0x01               one or more clock modes (0 to 255)
//   ratios        1 2 4 8                 one clock type: its multiplication ratios (0 to 255)
//   frequency     100 5000                one operating frequency range: minimum, maximum
//                                         (0 to 65535, minimum not above maximum)
//   user-boot-mat 0x00000000 0x00001FFF   one user boot mat area: first and last address
//   user-mat      0x00000000 0x0003FFFF   one user mat area: first and last address
//   erase-block   0x00000000 0x00000FFF   one erase block: first and last address
//   write-size    128                     the programming unit in bytes (1 to 4096), once
//
// Numbers are decimal or 0x-prefixed hexadecimal. Entries of the same kind keep their order.
// At least one device, one user mat area and the write size are required. A device list too
// long for one answer frame is still accepted (the answer then carries the true count and the
// entries that fit); every other list must fit its answer frame.
//
// The user mat areas imply the flash: it spans from the lowest first address to the highest last
// address of the user mat (at most 16 MiB). The user boot mat is held apart, likewise.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::simulator {

struct DeviceEntry {
  std::string code;  // exactly 4 bytes
  std::string name;
  bool operator==(const DeviceEntry&) const = default;
};

struct FrequencyRange {
  std::uint16_t min = 0;
  std::uint16_t max = 0;
  bool operator==(const FrequencyRange&) const = default;
};

struct AddressArea {
  std::uint32_t top = 0;
  std::uint32_t end = 0;  // last address, inclusive
  bool operator==(const AddressArea&) const = default;
};

// A contiguous memory span covering a list of areas.
struct MemorySpan {
  std::uint32_t base = 0;
  std::uint32_t size = 0;
  bool operator==(const MemorySpan&) const = default;
};

struct DeviceDescription {
  std::vector<DeviceEntry> devices;
  std::vector<std::uint8_t> clockModes;
  std::vector<std::vector<std::uint8_t>> ratios;  // one list per clock type
  std::vector<FrequencyRange> frequencies;
  std::vector<AddressArea> userBootMat;
  std::vector<AddressArea> userMat;
  std::vector<AddressArea> eraseBlocks;
  std::uint16_t writeSize = 0;

  // The flash behind the user mat, and the store behind the user boot mat (size 0 when none).
  MemorySpan UserMatSpan() const;
  MemorySpan UserBootMatSpan() const;

  bool operator==(const DeviceDescription&) const = default;
};

// The largest user mat or user boot mat span the simulated target will hold.
inline constexpr std::uint32_t kMaxMatSpan = 16u * 1024 * 1024;

// Parses description text. On failure returns nothing and sets *error (when given) to
// "<source>:<line>: <what>" for a malformed line, or "<source>: <what>" for something missing.
std::optional<DeviceDescription> ParseDeviceDescription(std::string_view text,
                                                        std::string_view source,
                                                        std::string* error);

// Reads and parses a description file.
std::optional<DeviceDescription> LoadDeviceDescription(const std::string& path, std::string* error);

// A decimal or 0x-prefixed hexadecimal number of at most 32 bits.
std::optional<std::uint32_t> ParseTargetNumber(std::string_view text);

// The text of examples/target/sample.dev, used when no description file is given.
std::string_view SampleDeviceDescriptionText();
DeviceDescription SampleDeviceDescription();

}  // namespace vantrel::simulator
