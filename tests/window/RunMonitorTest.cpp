// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/RunMonitor.h"

#include "app/AppIdentity.h"
#include "encoding/WavDuration.h"
#include "gogo/TestAudio.h"
#include "support/WidgetTestSetup.h"
#include "support/WindowFixture.h"
#include "window/RunStatusView.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTest>
#include <QVariantMap>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// A session bus of the test's own, and a desktop on it that takes notifications and listens for
// launcher progress.
class FakeDesktop : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public slots:
    uint Notify(const QString& /*app*/, uint /*replaces*/, const QString& /*icon*/,
                const QString& summary, const QString& body, const QStringList& /*actions*/,
                const QVariantMap& /*hints*/, int /*timeout*/) {
        notes.push_back({summary, body});
        return static_cast<uint>(notes.size());
    }
    void Update(const QString& app, const QVariantMap& properties) {
        if (app == QStringLiteral("application://%1.desktop").arg(QLatin1String(kDesktopId))) {
            launcherUpdates.push_back(properties);
        }
    }

    // The slots above are a section of their own for moc.
    // NOLINTNEXTLINE(readability-redundant-access-specifiers)
public:
    struct Note {
        QString summary;
        QString body;
    };
    std::vector<Note> notes;
    std::vector<QVariantMap> launcherUpdates;
};

RunEnd Ended(RunEnd::Kind kind, int done, int inRun) {
    return {kind, std::nullopt, 0, {1.0, std::nullopt, inRun, done}};
}

class RunMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address")});
        ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "dbus-daemon (package dbus) is needed";
        const QString address = QString::fromUtf8(daemon.readLine().trimmed());
        QDBusConnection desktopSide =
            QDBusConnection::connectToBus(address, QStringLiteral("fake-desktop"));
        ASSERT_TRUE(desktopSide.isConnected());
        ASSERT_TRUE(desktopSide.registerService(QStringLiteral("org.freedesktop.Notifications")));
        ASSERT_TRUE(desktopSide.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                               &desktop, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(desktopSide.connect(QString(), LauncherProgress::ObjectPath(),
                                        QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                        QStringLiteral("Update"), &desktop,
                                        SLOT(Update(QString, QVariantMap))));
        bus.emplace(QDBusConnection::connectToBus(address, QStringLiteral("vamble-side")));
        notifier.emplace(*bus);
        launcher.emplace(*bus);
        monitor.emplace(&window, &view, *notifier, *launcher);

        window.setGeometry(0, 0, 200, 100);
        other.setGeometry(300, 0, 200, 100);
        window.show();
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override {
        monitor.reset();
        notifier.reset();
        launcher.reset();
        bus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("vamble-side"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-desktop"));
        daemon.kill();
        daemon.waitForFinished();
    }

    static void Activate(QWidget* widget) {
        widget->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(widget));
    }

    QTemporaryDir folder;
    QProcess daemon;
    FakeDesktop desktop;
    std::optional<QDBusConnection> bus;
    std::optional<DesktopNotifier> notifier;
    std::optional<LauncherProgress> launcher;
    QWidget window;
    QWidget other;
    RunStatusView view{&window};
    std::optional<RunMonitor> monitor;
};

} // namespace

TEST_F(RunMonitorTest, ARunRisesToTheWholeAndTellsTheDesktopOnceAtItsEnd) {
    Activate(&other);
    for (int step = 0; step <= 12; ++step) {
        const double fraction = step / 12.0;
        monitor->Show({fraction, std::chrono::seconds(12 - step), 3, step / 4});
        EXPECT_TRUE(view.isVisible());
        EXPECT_EQ(window.windowTitle(), WindowTitle(fraction));
        EXPECT_FALSE(view.TimeLeft()->text().isEmpty());
        // A screen reader reads the time itself.
        EXPECT_EQ(QAccessible::queryAccessibleInterface(view.findChild<QLabel*>())
                      ->text(QAccessible::Name),
                  view.TimeLeft()->text());
    }
    EXPECT_EQ(window.windowTitle(), QStringLiteral("100% — Vamble"));
    SaveScreenshot(&view, QStringLiteral("run-status"));

    monitor->End(Ended(RunEnd::Kind::Finished, 3, 3));
    EXPECT_FALSE(view.isVisible());
    EXPECT_TRUE(view.TimeLeft()->text().isEmpty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vamble"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desktop.notes.empty(); }));
    EXPECT_EQ(desktop.notes.front().summary, QStringLiteral("Encoding finished"));
    EXPECT_TRUE(desktop.notes.front().body.contains(QStringLiteral("3 files")));

    // The launcher saw the run rise and then lose its progress.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return !desktop.launcherUpdates.empty() &&
               !desktop.launcherUpdates.back()[QStringLiteral("progress-visible")].toBool();
    }));
    double shown = 0.0;
    for (size_t i = 0; i + 1 < desktop.launcherUpdates.size(); ++i) {
        const QVariantMap& update = desktop.launcherUpdates[i];
        EXPECT_TRUE(update[QStringLiteral("progress-visible")].toBool());
        EXPECT_GE(update[QStringLiteral("progress")].toDouble(), shown);
        shown = update[QStringLiteral("progress")].toDouble();
    }
    EXPECT_EQ(shown, 1.0);
    EXPECT_EQ(desktop.notes.size(), 1U);
}

TEST_F(RunMonitorTest, NoNotificationWhileTheWindowIsActive) {
    Activate(&window);
    monitor->Show({});
    monitor->End(Ended(RunEnd::Kind::Stopped, 0, 3));
    Activate(&other);
    monitor->Show({0.3, std::nullopt, 3, 1});
    monitor->End(Ended(RunEnd::Kind::Failed, 1, 2), QStringLiteral("“2.wav” was not encoded."));
    monitor->End(Ended(RunEnd::Kind::Failed, 1, 2), QStringLiteral("a run that has ended"));
    // The bus keeps one sender's calls in order: the first end would have arrived first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desktop.notes.empty(); }));
    QTest::qWait(100);
    ASSERT_EQ(desktop.notes.size(), 1U);
    EXPECT_EQ(desktop.notes.front().summary, QStringLiteral("Encoding failed"));
    EXPECT_EQ(desktop.notes.front().body, QStringLiteral("“2.wav” was not encoded."));
}

TEST_F(RunMonitorTest, TimeLeftReadsInMinutesAndHours) {
    EXPECT_EQ(TimeLeftText(65s), QStringLiteral("Time left: 1:05"));
    EXPECT_EQ(TimeLeftText(3723s), QStringLiteral("Time left: 1:02:03"));
    EXPECT_EQ(WindowTitle(0.379), QStringLiteral("37% — Vamble"));
}

using WindowRunStatusTest = WindowFixture;

TEST_F(WindowRunStatusTest, TheStatusAreaShowsTheWholeRunOnlyWhileOneGoesOn) {
    VambleWindow* w = Open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    auto* status = w->findChild<RunStatusView*>();
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status->isVisible());
    w->Monitor().Show({0.375, std::nullopt, 2, 0});
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("37% — Vamble"));
    SaveScreenshot(w, QStringLiteral("window-run-status"));
    w->Monitor().End(Ended(RunEnd::Kind::Stopped, 0, 2)); // no session bus: nothing to tell
    EXPECT_FALSE(status->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Vamble"));
}

#include "RunMonitorTest.moc"
