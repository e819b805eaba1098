#include "inquiry/acknowledgement.h"

#include "serial/comm_ctrl.h"

namespace vantrel {

AckPoll PollAcknowledgement(StepContext& ctx) {
  const int byte = ctx.port.GetByte();
  if (byte == kAck) return AckPoll::Acknowledged;
  if (byte >= 0) return AckPoll::OtherByte;
  return ctx.timeout.TimeoutRemaining() == 0 ? AckPoll::TimedOut : AckPoll::Waiting;
}

}  // namespace vantrel
