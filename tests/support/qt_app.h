#pragma once
// The test executable's QApplication, made by tests/support/qt_test_main.cpp.

#include <QApplication>

namespace testsupport {

inline QApplication& qtApp() { return *qobject_cast<QApplication*>(QCoreApplication::instance()); }

}  // namespace testsupport
