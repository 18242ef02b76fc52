#pragma once
// The test executable's QApplication (made in the shared test main).

#include "../support/qt_app.h"

inline QApplication& testApp() { return testsupport::qtApp(); }
