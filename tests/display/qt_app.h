#pragma once
// One QApplication for the whole test run, on the offscreen platform unless
// the environment chose another.

#include <QApplication>

namespace display_test {

inline QApplication& qtApp() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_display";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

}  // namespace display_test
