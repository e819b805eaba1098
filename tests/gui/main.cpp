#include <gtest/gtest.h>

#include "app/qt/application.h"
#include "app/qt/fonts.h"

// The window tests run on Qt's offscreen platform: no display needed.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  vantrel::qt::Application app(argc, argv);
  vantrel::qt::InstallFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
