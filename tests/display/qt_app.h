#pragma once
// The test executable's QApplication (made in the shared test main).

#include "../support/qt_app.h"

namespace display_test {

inline QApplication& qtApp() { return testsupport::qtApp(); }

}  // namespace display_test
