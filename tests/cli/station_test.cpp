#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cli/station/gang_summary.h"
#include "cli/station/next_board.h"
#include "cli/station/station_totals.h"
#include "support/case_name.h"
#include "support/fake_clock.h"

namespace vantrel::cli {
namespace {

// A station's boards in order, one a round, with the last board's line, the last line and the
// exit code the station ends with.
struct StationCase {
  const char* name;
  std::vector<int> exitCodes;
  double seconds;
  std::optional<std::uint64_t> lastSerial;
  const char* lastLine;
  const char* finalLine;
  int exitCode;
};

class Station : public ::testing::TestWithParam<StationCase> {};

TEST_P(Station, CountsEachBoardAndEndsWithTheWorstCode) {
  const StationCase& c = GetParam();
  // Its time is the job's clock, across the wrap of its count.
  testing::FakeClock clock(0xFFFFFFFFu - 500);
  StationTotals totals(clock);
  clock.Advance(static_cast<std::uint32_t>(c.seconds * 1000));
  int code = 0;
  std::string line;
  for (std::size_t i = 0; i < c.exitCodes.size(); ++i) {
    BoardRecord r{.result = c.exitCodes[i] == 0 ? "verified" : "failed",
                  .exitCode = c.exitCodes[i]};
    if (i + 1 == c.exitCodes.size()) r.serialNumber = c.lastSerial;
    line = totals.Count(r);
    code = WorseExitCode(code, c.exitCodes[i]);
  }
  EXPECT_EQ(line, c.lastLine);
  EXPECT_EQ(totals.Final(), c.finalLine);
  EXPECT_EQ(code, c.exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Totals, Station,
    ::testing::Values(StationCase{"EveryBoardPassed",
                                  {0, 0, 0},
                                  360,
                                  std::nullopt,
                                  "board 3  verified  passed 3  failed 0  30.0 boards/h",
                                  "stopped after 3 boards  passed 3  failed 0  30.0 boards/h",
                                  0},
                      StationCase{
                          "AWrongByteOutweighsALaterFailure",
                          {0, 2, 1},
                          60,
                          1002,
                          "board 3  failed  serial 1002  passed 1  failed 2  180.0 boards/h",
                          "stopped after 3 boards  passed 1  failed 2  180.0 boards/h",
                          2},
                      StationCase{"AFailureOutweighsTheBoardsThatPassedAfterIt",
                                  {1, 0},
                                  7200,
                                  7,
                                  "board 2  verified  serial 7  passed 1  failed 1  1.0 boards/h",
                                  "stopped after 2 boards  passed 1  failed 1  1.0 boards/h",
                                  1},
                      StationCase{"NoTimeYet",
                                  {0},
                                  0,
                                  std::nullopt,
                                  "board 1  verified  passed 1  failed 0  0.0 boards/h",
                                  "stopped after 1 board  passed 1  failed 0  0.0 boards/h",
                                  0}),
    testing::CaseName());

// Looks at the ports in turn; the look at which the next board is there, -1 for none.
struct WatchCase {
  const char* name;
  std::vector<std::vector<bool>> looks;
  int nextAt;
  bool first = false;  // before the first board: nothing is connected yet
};

class NextBoard : public ::testing::TestWithParam<WatchCase> {};

TEST_P(NextBoard, OnceEveryPortHasGoneAndIsBack) {
  const WatchCase& c = GetParam();
  ReplugWatch watch(c.looks[0].size(), c.first);
  int nextAt = -1;
  for (std::size_t i = 0; i < c.looks.size() && nextAt < 0; ++i) {
    if (watch.Look(c.looks[i])) nextAt = static_cast<int>(i);
  }
  EXPECT_EQ(nextAt, c.nextAt);
}

INSTANTIATE_TEST_SUITE_P(
    Ports, NextBoard,
    ::testing::Values(
        WatchCase{"TheBoardStillConnectedIsNoNewOne", {{1}, {1}, {1}}, -1},
        WatchCase{"GoneAndBack", {{1}, {0}, {0}, {1}}, 3},
        WatchCase{"MissingAfterTheJob", {{0}, {1}}, 1},
        WatchCase{"EachOfSeveralPorts", {{1, 1}, {0, 1}, {1, 1}, {1, 0}, {1, 1}}, 4},
        WatchCase{"ABoardPluggedInIsAwaitedWhileAnotherIsOut", {{0, 0}, {1, 0}, {1, 1}}, 2},
        WatchCase{"TheFirstBoardOnceEveryPortIsThere", {{0, 1}, {0, 1}, {1, 1}}, 2, true}),
    testing::CaseName());

}  // namespace
}  // namespace vantrel::cli
