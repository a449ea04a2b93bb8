// Window tests: one QApplication on the offscreen platform for all cases,
// with the screens of offscreen_screens.json.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUENLET_OFFSCREEN_SCREENS);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
