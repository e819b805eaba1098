#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/qt/fine_timer.h"

namespace vantrel::testing {
namespace {

void RunEventsFor(int ms, const int& fired, int until) {
  QElapsedTimer clock;
  clock.start();
  while (fired < until && clock.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

TEST(FineTimer, FiresOnceItsTimeIsUpAndNotOnceStopped) {
  QObject owner;
  int fired = 0;
  qt::FineTimer timer(&owner, [&] { ++fired; });
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(timer.Start(2500));
  RunEventsFor(1000, fired, 1);
  EXPECT_EQ(fired, 1);
  EXPECT_GE(clock.nsecsElapsed(), 2'500'000);

  ASSERT_TRUE(timer.Start(2500));
  timer.Stop();
  RunEventsFor(30, fired, 2);
  EXPECT_EQ(fired, 1);
}

}  // namespace
}  // namespace vantrel::testing
