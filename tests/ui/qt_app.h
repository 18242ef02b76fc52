#pragma once
// One QApplication for the whole test executable (tests run offscreen).

#include <QApplication>

inline QApplication& testApp() {
  static int argc = 1;
  static char name[] = "test_ui";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}
