#include <gtest/gtest.h>

#include "process/xvfb.h"

// The window runs as a real process on a virtual display of its own, so that its message boxes can
// be found and pressed.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new vantrel::testing::Xvfb);
  return RUN_ALL_TESTS();
}
