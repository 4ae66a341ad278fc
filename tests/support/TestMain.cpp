// SPDX-License-Identifier: GPL-3.0-or-later
// The GoogleTest entry point of the test programs: a Qt application object (a QApplication for
// widget tests, defined by VAMBLE_TEST_WIDGETS) in a temporary environment of its own.
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#ifdef VAMBLE_TEST_WIDGETS
#include "support/WidgetTestSetup.h"

#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    TestEnvironment environment;
    if (!environment.IsValid()) {
        return 2;
    }
#ifdef VAMBLE_TEST_WIDGETS
    PrepareWidgetTests();
#endif
    TestApplication app(argc, argv);
#ifdef VAMBLE_TEST_WIDGETS
    UseTestFont();
#endif
    return RUN_ALL_TESTS();
}
