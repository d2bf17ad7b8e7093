// Test entry for the layout tests: one application object, on a screen scaled by
// QUILLET_LAYOUT_SCALE (a compile-time text such as "2") when the build names one.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
#ifdef QUILLET_LAYOUT_SCALE
  qputenv("QT_SCALE_FACTOR", QUILLET_LAYOUT_SCALE);
#endif
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
