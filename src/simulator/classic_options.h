#pragma once

#include <cstdint>
#include <optional>

namespace vantrel::simulator {

// Misbehaviours of the classic target. Every count k starts at 1; 0 turns the fault off.
struct ClassicFaults {
  std::uint32_t dropEcho = 0;               // program byte k is never echoed
  std::uint32_t corruptEcho = 0;            // program byte k is echoed with its top bit flipped
  std::optional<std::uint8_t> eraseAnswer;  // sent instead of 0xAA when the erase is done
  bool noEraseAnswer = false;               // the erase ends without an answer
  std::uint32_t nakBlock = 0;          // written block k is refused with 0x15 and not programmed
  std::uint32_t silentBlock = 0;       // written block k gets no answer and is not programmed
  std::uint32_t badAddressEcho = 0;    // verify k echoes its first address byte with bit 0 flipped
  std::uint32_t noVerifyData = 0;      // verify k echoes the address and sends no data
  std::uint32_t flipVerifyByte = 0;    // verify k sends its last data byte with bit 0 flipped
  std::uint32_t hangUpAfterBlock = 0;  // after answering written block k the line goes dead
};

// The classic boot loader and the write-control program it receives.
struct ClassicOptions {
  std::uint32_t eraseMs = 1500;
  // The rate the received write-control program listens at; 0 (kHostsRate): the host's.
  std::uint32_t programmingBaud = 0;
  std::uint32_t blockSize = 128;
  ClassicFaults faults;
};

}  // namespace vantrel::simulator
