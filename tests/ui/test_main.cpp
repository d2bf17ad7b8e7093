// Test entry for the window tests: one application object for the whole run.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // Listing the tests at build time runs without CTest's environment; there is no display then.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
