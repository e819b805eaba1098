#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "simulator/boot_loader.h"
#include "simulator/classic_options.h"

namespace vantrel::simulator {

// Builds the boot loader for one boot-mode session, over the target's flash.
using BootLoaderFactory = std::function<std::unique_ptr<BootLoader>(Flash&)>;

// Faults of the line itself, the same in both protocols. Answer bytes are counted from the sync
// answer (byte 1) of each boot mode; line noise is not counted. A count of 0 turns a fault off.
struct LineFaults {
  std::uint32_t dropByte = 0;   // answer byte k is lost on the line
  std::uint32_t cutByte = 0;    // answer byte k and the rest of its answer are lost
  std::uint32_t stallByte = 0;  // answer byte k and every byte after it leave stallMs later
  std::uint32_t stallMs = 0;
};

struct TargetOptions {
  std::uint32_t flashBase = 0;
  std::uint32_t flashSize = 0x100000;
  // Bytes arrive and leave no faster than the line carries them (10 bits each).
  bool pacing = false;
  // Zero bytes at one rate the target needs before it answers the bit-rate adjustment.
  std::uint32_t syncZeros = 3;
  bool noSync = false;                          // the zero bytes are never answered
  std::optional<std::uint8_t> handshakeAnswer;  // sent instead of the loader's answer to 0x55
  std::vector<std::uint8_t> noise;  // sent when the host opens the line, before its first byte
  LineFaults line;
  ClassicOptions classic;
  // Empty: the classic boot loader with `classic`.
  BootLoaderFactory makeLoader;
  // Receives a line for each notable event (sync, handshake, job end); may be empty.
  std::function<void(std::string_view)> trace;
};

}  // namespace vantrel::simulator
