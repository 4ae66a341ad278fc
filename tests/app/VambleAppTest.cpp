// SPDX-License-Identifier: GPL-3.0-or-later
// Runs with the application object itself as the Qt application.
#include "app/VambleApp.h"

#include "app/About.h"
#include "app/SingleLaunch.h"
#include "app/VamblePrefs.h"
#include "filelist/CheckBitmap.h"
#include "filelist/FileListView.h"
#include "kit/AppDefs.h"
#include "support/SettingsKeys.h"
#include "support/TestEnvironment.h"
#include "support/WidgetTestSetup.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Each test starts without the list an earlier test's window kept.
class NoKeptList : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo& /*test*/) override {
        QFile::remove(qEnvironmentVariable("XDG_STATE_HOME") + QStringLiteral("/vamble/list.json"));
    }
};
// The listeners own what they are given.
const bool kNoKeptList =
    (testing::UnitTest::GetInstance()->listeners().Append(new NoKeptList), true); // NOLINT

VambleApp* App() {
    return static_cast<VambleApp*>(QCoreApplication::instance());
}

// Opens the main window as a start does, with this frame stored (or none), and closes it again;
// gives the frame the window opened with.
QRect OpenedFrame(const std::optional<kit::Rect>& stored) {
    prefs->MakeEmpty();
    if (stored) {
        prefs->SetRect("WindowRect", *stored);
    }
    App()->ReadyToRun();
    const QRect frame = App()->MainWindow()->geometry();
    delete App()->MainWindow();
    QCoreApplication::processEvents();
    prefs = new VamblePrefs(kSettingsFileName);
    return frame;
}

} // namespace

TEST(CheckBitmap, IsAnElevenByTwelveMarkWithATransparentBackground) {
    ASSERT_NE(checkBitmap, nullptr);
    EXPECT_EQ(checkBitmap->Bounds(), kit::Rect(0, 0, 10, 11));
    EXPECT_EQ(checkBitmap->IndexAt(7, 1), 0x00);
    EXPECT_EQ(checkBitmap->IndexAt(5, 7), 0xeb);
    const QImage& mark = checkBitmap->Image();
    ASSERT_EQ(mark.size(), QSize(11, 12));
    EXPECT_EQ(qAlpha(mark.pixel(0, 0)), 0);
    EXPECT_EQ(mark.pixel(7, 1), qRgb(0, 0, 0)) << "the outline is black";
    EXPECT_GT(qGreen(mark.pixel(7, 2)), qRed(mark.pixel(7, 2))) << "the mark is green";
    int opaque = 0;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 11; ++x) {
            opaque += qAlpha(mark.pixel(x, y)) == 255 ? 1 : 0;
        }
    }
    EXPECT_EQ(opaque, 37);
}

TEST(VambleApp, OpensTheWindowCentredWhenNoFrameIsStored) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const kit::Rect frame = VambleApp::DefaultWindowFrame();
    EXPECT_FLOAT_EQ(frame.left, (screen.right() - screen.left()) * 0.5f - 200.0f);
    EXPECT_FLOAT_EQ(frame.top, (screen.bottom() - screen.top()) * 0.5f - 200.0f);
    EXPECT_FLOAT_EQ(frame.Width(), 400.0f);
    EXPECT_FLOAT_EQ(frame.Height(), 400.0f);

    prefs->MakeEmpty();
    App()->ReadyToRun();
    VambleWindow* window = App()->MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    // The window grows to what its contents need and stays centred.
    EXPECT_GE(window->width(), 400);
    EXPECT_GE(window->height(), 400);
    EXPECT_NEAR(window->geometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(window->geometry().center().y(), screen.center().y(), 1);
    kit::Rect stored;
    EXPECT_EQ(prefs->Find("WindowRect", &stored), kit::B_OK);

    // Closing the window asks the application to quit, after the window wrote the settings
    // (and after the look for CDs that follows the showing).
    QCoreApplication::processEvents();
    testing::internal::CaptureStdout();
    window->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return App()->MainWindow() == nullptr; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Quit Requested.\n");
    EXPECT_EQ(prefs, nullptr);
    prefs = new VamblePrefs(kSettingsFileName);
    EXPECT_EQ(prefs->CountNames(), kSettingsKeyCount);
}

// The test screen is 1920 x 1080, as most desktops are.
TEST(VambleApp, TheFirstWindowShowsTwelveRowsOfTheList) {
    prefs->MakeEmpty();
    App()->ReadyToRun();
    VambleWindow* window = App()->MainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    FileListView* list = window->FileList();
    for (int i = 0; i < 12; ++i) {
        list->AddItem(new AudioItem(kit::EntryRef{"/music/" + std::to_string(i) + ".wav"}));
    }
    QCoreApplication::processEvents();
    EXPECT_LE(list->ItemFrame(11).bottom, list->Bounds().bottom);
    EXPECT_LE(window->frameGeometry().height(), 1080);
    SaveScreenshot(window, QStringLiteral("first-window"));
    delete window;
    QCoreApplication::processEvents();
    prefs = new VamblePrefs(kSettingsFileName);
}

TEST(VambleApp, AStoredFrameIsUsedUnlessItIsDamagedOrOffEveryScreen) {
    const QRect centred = OpenedFrame(std::nullopt);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const kit::Rect& unusable :
         {kit::Rect(20000, 20000, 20600, 20700), kit::Rect(nan, nan, nan, nan),
          kit::Rect(0, 0, nan, 500), kit::Rect(-1e30f, -1e30f, 1e30f, 1e30f),
          kit::Rect(-1e30f, -1e30f, 100, 100), kit::Rect(0, 0, inf, inf),
          kit::Rect(0, 0, 100000, 100000)}) {
        EXPECT_EQ(OpenedFrame(unusable), centred) << unusable.left << " " << unusable.right;
    }
    EXPECT_EQ(OpenedFrame(kit::Rect(30, 40, 630, 740)), QRect(30, 40, 600, 700));
}

TEST(VambleApp, KeepsAtMostOneAboutWindow) {
    App()->AboutRequested();
    QPointer<About> first = App()->AboutWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(aboutwindow);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("About Vamble"));
    EXPECT_EQ(first->size(), QSize(284, 189)) << "exactly the picture's size";
    EXPECT_EQ(first->minimumSize(), first->maximumSize()) << "not resizable";
    EXPECT_FALSE(first->windowFlags() & Qt::WindowMaximizeButtonHint);

    first->hide();
    App()->AboutRequested();
    EXPECT_EQ(App()->AboutWindow(), first.data());
    EXPECT_TRUE(first->isVisible());
    first->showMinimized();
    App()->AboutRequested();
    EXPECT_EQ(App()->AboutWindow(), first.data());
    EXPECT_FALSE(first->isMinimized());

    const QImage picture = SaveScreenshot(first, QStringLiteral("about"));
    EXPECT_EQ(picture.size(), QSize(284, 189));

    first->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }));
    EXPECT_FALSE(aboutwindow);
    App()->AboutRequested();
    EXPECT_NE(App()->AboutWindow(), nullptr);
    delete App()->AboutWindow();
}

TEST(VambleApp, AboutArrivesAsAMessageFromTheMenu) {
    kit::PostMessage(App(), kit::Message(kit::B_ABOUT_REQUESTED));
    QCoreApplication::processEvents();
    ASSERT_NE(App()->AboutWindow(), nullptr);
    delete App()->AboutWindow();
}

TEST(VambleApp, FilesOpenedWithTheProgramBecomeRows) {
    // Files named at start and files a later start hands over arrive as one file-references
    // message; the WAV files among them become rows.
    QTemporaryDir folder;
    const QString wav = folder.filePath(QStringLiteral("song"));
    QFile file(wav);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16));
    file.close();
    App()->ReadyToRun();
    kit::Message refs = SingleLaunch::RefsMessage(
        {wav, folder.filePath(QStringLiteral("missing.wav")), QStringLiteral("/")});
    App()->RefsReceived(&refs);
    FileListView* list = App()->MainWindow()->FileList();
    ASSERT_EQ(list->CountItems(), 1);
    EXPECT_EQ(static_cast<AudioItem*>(list->ItemAt(0))->ref.path,
              QFile::encodeName(wav).toStdString());
    delete App()->MainWindow();
    QCoreApplication::processEvents();
    prefs = new VamblePrefs(kSettingsFileName);
}

TEST(VambleApp, CdsAreListedOnceTheWindowIsShown) {
    // A CD the desktop mounted, in the runtime folder the test program has of its own.
    const QString cd =
        qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/gvfs/cdda:host=sr5");
    ASSERT_TRUE(QDir().mkpath(cd));
    App()->ReadyToRun();
    QComboBox* cds = nullptr;
    for (QComboBox* menu : App()->MainWindow()->findChildren<QComboBox*>()) {
        if (menu->accessibleName() == QStringLiteral("Get Files from CD:")) {
            cds = menu;
        }
    }
    ASSERT_NE(cds, nullptr);
    EXPECT_EQ(cds->count(), 0) << "drives are not asked before the window shows";
    // The scan runs in the background and reports to the window when it is done.
    EXPECT_TRUE(QTest::qWaitFor([cds] { return cds->count() == 1; }));
    delete App()->MainWindow();
    QCoreApplication::processEvents();
    prefs = new VamblePrefs(kSettingsFileName);
    QDir(cd).removeRecursively();
}

TEST(VambleApp, ScreenReadersFindEveryPartByName) {
    App()->ReadyToRun();
    VambleWindow* window = App()->MainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->menuBar()->accessibleName().isEmpty());
    for (QAction* item : window->menuBar()->actions()) {
        ASSERT_NE(item->menu(), nullptr);
        EXPECT_EQ(item->menu()->accessibleName().toStdString(),
                  item->text().remove(QLatin1Char('&')).toStdString());
    }
    auto* tabs = window->findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_FALSE(tabs->accessibleName().isEmpty());
    for (int tab = 0; tab < tabs->count(); ++tab) {
        EXPECT_EQ(tabs->widget(tab)->accessibleName().toStdString(),
                  tabs->tabText(tab).toStdString());
    }
    delete window;
    QCoreApplication::processEvents();
    prefs = new VamblePrefs(kSettingsFileName);

    // The About picture's text is told in words.
    About about;
    EXPECT_FALSE(about.accessibleName().isEmpty());
    EXPECT_FALSE(about.View()->accessibleName().isEmpty());
    const QString description = about.accessibleDescription();
    EXPECT_TRUE(description.contains(QStringLiteral("Vamble"))) << description.toStdString();
    EXPECT_TRUE(description.contains(QCoreApplication::applicationVersion()))
        << description.toStdString();
    EXPECT_TRUE(description.contains(QStringLiteral("General Public License")))
        << description.toStdString();
}

TEST(VambleApp, QtsFileDialogLeavesNoSettingsFileOfItsOwn) {
    const QDir config(qEnvironmentVariable("XDG_CONFIG_HOME"));
    {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.show();
        QCoreApplication::processEvents();
    }
    const QStringList files = config.entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(files.isEmpty() || files == QStringList{QString::fromLatin1(kSettingsFileName)})
        << files.join(QLatin1Char(' ')).toStdString();
}

// A termination signal (as at the end of the session) while dialogs wait for answers inside
// the window's calls: "Add Files…", and above it the warning that a named file is not there.
// The dialogs are cancelled, the window closes once their loops have returned, and the
// settings are saved. Runs the application's own loop, which ends with it.
TEST(VambleApp, ATerminationSignalWithDialogsOpenEndsCleanlyAndSaves) {
    prefs->MakeEmpty();
    const auto later = [](auto&& step) { QTimer::singleShot(200, App(), step); };
    later([&later] {
        later([&later] {
            auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(files, nullptr);
            later([] { ::kill(::getpid(), SIGTERM); });
            files->selectFile(QStringLiteral("missing.wav"));
            // Warns that the file is not there, and waits for an answer.
            QMetaObject::invokeMethod(files, "accept");
        });
        for (QAction* item : App()->MainWindow()->findChildren<QAction*>()) {
            if (item->text() == QStringLiteral("Add Files…")) {
                item->trigger();
            }
        }
    });
    testing::internal::CaptureStdout();
    App()->Run();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Checking CD.\nQuit Requested.\n");
    EXPECT_EQ(App()->MainWindow(), nullptr);
    prefs = new VamblePrefs(kSettingsFileName);
    EXPECT_EQ(prefs->CountNames(), kSettingsKeyCount);
}

TEST(SingleLaunch, ALaterStartHandsItsFilesToTheRunningOne) {
    QTemporaryDir folder;
    SingleLaunch running(folder.path());
    ASSERT_EQ(running.HandOver({}), SingleLaunch::Outcome::Alone);
    kit::Message received;
    bool called = false;
    ASSERT_TRUE(running.Listen([&](const kit::Message& refs) {
        received = refs;
        called = true;
    }));

    // A later start waits for the answer, which the running one gives from its event loop.
    SingleLaunch later(folder.path());
    QDir::setCurrent(folder.path());
    auto handing = std::async(std::launch::async, [&later] {
        return later.HandOver({QStringLiteral("song.wav"), QStringLiteral("/music/b.wav")});
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return called; }));
    EXPECT_EQ(handing.get(), SingleLaunch::Outcome::HandedOver);
    EXPECT_EQ(received.what, kit::B_REFS_RECEIVED);
    kit::EntryRef ref;
    ASSERT_EQ(received.Find("refs", 0, &ref), kit::B_OK);
    EXPECT_EQ(QString::fromStdString(ref.path.string()),
              folder.path() + QStringLiteral("/song.wav"));
    ASSERT_EQ(received.Find("refs", 1, &ref), kit::B_OK);
    EXPECT_EQ(ref.path, "/music/b.wav");
}

TEST(SingleLaunch, NeitherAStuckNorACrashedInstanceKeepsAStartWaiting) {
    QTemporaryDir folder;
    {
        SingleLaunch stuck(folder.path());
        ASSERT_EQ(stuck.HandOver({}), SingleLaunch::Outcome::Alone); // locks, never listens
        SingleLaunch later(folder.path(), std::chrono::milliseconds(300));
        EXPECT_EQ(later.HandOver({}), SingleLaunch::Outcome::NoAnswer);
    }
    // A crashed instance leaves its socket behind; the next start takes its place.
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(folder.path() + QStringLiteral("/vamble.socket"));
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int left = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(left, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    close(left);
    SingleLaunch next(folder.path());
    ASSERT_EQ(next.HandOver({}), SingleLaunch::Outcome::Alone);
    EXPECT_TRUE(next.Listen({}));
}

TEST(SingleLaunch, AReleasedInstanceLetsTheNextStartRun) {
    QTemporaryDir folder;
    SingleLaunch quitting(folder.path());
    ASSERT_EQ(quitting.HandOver({}), SingleLaunch::Outcome::Alone);
    ASSERT_TRUE(quitting.Listen({}));
    quitting.Release(); // the settings are saved; files are still being tagged
    SingleLaunch next(folder.path(), std::chrono::milliseconds(300));
    EXPECT_EQ(next.HandOver({}), SingleLaunch::Outcome::Alone);
}

TEST(SingleLaunch, OnlyAPrivateFolderOfTheUserTellsWhetherAnInstanceRuns) {
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray cacheBefore = qgetenv("XDG_CACHE_HOME");
    QTemporaryDir dir;
    const QString runtime = dir.filePath(QStringLiteral("runtime"));
    const QString cache = dir.filePath(QStringLiteral("cache"));
    ASSERT_TRUE(QDir().mkpath(runtime));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    const QString fallback = cache + QStringLiteral("/vamble");

    struct Case {
        const char* name;
        mode_t runtimeMode; // 0: XDG_RUNTIME_DIR unset
        bool cacheIsLink;
        QString expected;
    };
    const Case cases[] = {
        {"a private runtime folder", 0700, false, runtime},
        {"a runtime folder others may enter", 0755, false, fallback},
        {"no runtime folder", 0, false, fallback},
        {"a cache folder that is a link", 0, true, QString()},
    };
    for (const Case& c : cases) {
        QDir(cache).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(cache));
        if (c.cacheIsLink) {
            ASSERT_TRUE(QFile::link(dir.path(), fallback));
        }
        if (c.runtimeMode != 0) {
            ::chmod(QFile::encodeName(runtime).constData(), c.runtimeMode);
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        } else {
            qunsetenv("XDG_RUNTIME_DIR");
        }
        QString refused;
        EXPECT_EQ(SingleLaunch::DefaultFolder(&refused), c.expected) << c.name;
        EXPECT_EQ(refused.isEmpty(), !c.expected.isEmpty()) << c.name;
    }
    struct stat status {};
    QDir(cache).removeRecursively();
    EXPECT_EQ(SingleLaunch::DefaultFolder(), fallback);
    ASSERT_EQ(::stat(QFile::encodeName(fallback).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700U);
    qputenv("XDG_RUNTIME_DIR", runtimeBefore);
    qputenv("XDG_CACHE_HOME", cacheBefore);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    TestEnvironment environment;
    // One screen of 1920 x 1080 pixels.
    const QString screens = environment.Home() + QStringLiteral("/screens.json");
    QFile config(screens);
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(R"({"screens": [{"name": "screen", "width": 1920, "height": 1080}]})") < 0) {
        return 1;
    }
    config.close();
    qputenv("QT_QPA_PLATFORM",
            QFile::encodeName(QStringLiteral("offscreen:configfile=") + screens));
    VambleApp app(argc, argv);
    UseTestFont();
    return RUN_ALL_TESTS();
}
