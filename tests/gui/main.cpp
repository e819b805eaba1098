#include <gtest/gtest.h>

#include <QApplication>

#include "app/qt/fonts.h"

// The window tests run on Qt's offscreen platform: no display needed.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication app(argc, argv);
  vantrel::qt::InstallFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
