// The GoogleTest entry point of every test program. Each program runs with a Qt application
// object (a QApplication for widget tests, defined by VAMBLE_TEST_WIDGETS) and with its own
// temporary home, configuration and runtime folders, so that no test reads or writes the user's
// real settings and no two test programs share files.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>

#ifdef VAMBLE_TEST_WIDGETS
#include <QApplication>
#include <QFont>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    QTemporaryDir home;
    if (!home.isValid()) {
        return 2;
    }
    const QByteArray root = home.path().toLocal8Bit();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    setenv("XDG_RUNTIME_DIR", root.constData(), 1);
#ifdef VAMBLE_TEST_WIDGETS
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
#endif

    TestApplication app(argc, argv);
#ifdef VAMBLE_TEST_WIDGETS
    // With no font configured offscreen, Qt may draw no text at all; fix one for every test.
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
#endif
    return RUN_ALL_TESTS();
}
