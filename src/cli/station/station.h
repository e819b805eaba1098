#pragma once

#include "cli/station/board_round.h"
#include "platform/clock.h"

namespace vantrel::cli {

// Board after board on the same ports: a round, its boards' lines with the running totals, then a
// wait for the next board, until Ctrl-C (during a job: once that job has ended as an abort).
// Returns 0 when every board passed, else the worst exit code of any round; a usage error at once.
// Its boards per hour are counted on the clock.
int RunStation(const RoundSetup& setup, platform::Clock& clock);

}  // namespace vantrel::cli
