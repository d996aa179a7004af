// Entry point of the widget tests: one QApplication for all of them, on
// the offscreen platform with a desktop-sized screen unless the caller
// chose another platform.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" LIRVANE_OFFSCREEN_SCREEN);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
