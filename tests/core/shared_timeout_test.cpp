#include "core/shared_timeout.h"

#include <gtest/gtest.h>

#include "support/case_name.h"
#include "support/fake_clock.h"

namespace vantrel {
namespace {

struct TimeoutCase {
  const char* name;
  std::uint32_t start;
  std::int32_t duration;
  std::uint32_t elapsed;
  std::int32_t remaining;
};

class SharedTimeoutTest : public ::testing::TestWithParam<TimeoutCase> {};

TEST_P(SharedTimeoutTest, RemainingIsDurationLessElapsedAndNeverNegative) {
  const auto& c = GetParam();
  testing::FakeClock clock(c.start);
  SharedTimeout timeout(clock);
  timeout.StartTimeout(c.duration);
  clock.Advance(c.elapsed);
  EXPECT_EQ(timeout.TimeoutRemaining(), c.remaining);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SharedTimeoutTest,
    ::testing::Values(TimeoutCase{"Fresh", 0, 500, 0, 500}, TimeoutCase{"OneLeft", 0, 500, 499, 1},
                      TimeoutCase{"JustRunOut", 0, 500, 500, 0},
                      TimeoutCase{"LongRunOut", 0, 500, 10000, 0},
                      // the millisecond counter wraps in the middle of the wait
                      TimeoutCase{"ClockWrapsMidWait", 0xFFFFFF00u, 1000, 0x200, 1000 - 0x200},
                      TimeoutCase{"StartsAtTheWrap", 0xFFFFFFFFu, 30000, 30000, 0},
                      // nearly 50 days without a restart still reads as run out
                      TimeoutCase{"FiftyDaysOn", 5, 1000, 0x90000000u, 0}),
    testing::CaseName());

TEST(SharedTimeout, StartingAgainReplacesThePreviousTimeout) {
  testing::FakeClock clock(100);
  SharedTimeout timeout(clock);
  timeout.StartTimeout(500);
  clock.Advance(400);
  timeout.StartTimeout(1000);
  clock.Advance(400);
  EXPECT_EQ(timeout.TimeoutRemaining(), 600);
}

}  // namespace
}  // namespace vantrel
