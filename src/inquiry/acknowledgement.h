#pragma once

#include <cstdint>

#include "core/step_context.h"

namespace vantrel {

enum class AckPoll {
  Waiting,       // nothing yet, time left
  Acknowledged,  // 0x06
  OtherByte,     // anything else: a refusal, not worth waiting on
  TimedOut,      // silence and the shared time-out has run out
};

inline constexpr std::uint8_t kAck = 0x06;

// One poll of the wait for an acknowledgement; the caller has started the shared time-out.
AckPoll PollAcknowledgement(StepContext& ctx);

}  // namespace vantrel
