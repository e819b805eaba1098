#include <gtest/gtest.h>

#include "process/xvfb.h"

// The window runs as a real process on a virtual display of its own, so that its message boxes can
// be found and pressed.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
#ifndef VANTREL_E2E_WINE
  // Under Wine the display is the one the wine server started on (scripts/test-windows).
  ::testing::AddGlobalTestEnvironment(new vantrel::testing::Xvfb);
#endif
  return RUN_ALL_TESTS();
}
