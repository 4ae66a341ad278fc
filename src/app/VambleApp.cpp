// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/VambleApp.h"

#include "app/About.h"
#include "app/AppIdentity.h"
#include "app/SingleLaunch.h"
#include "app/TerminationSignals.h"
#include "app/VamblePrefs.h"
#include "filelist/CheckBitmap.h"
#include "filelist/FileListView.h"
#include "kit/AppDefs.h"
#include "kit/DeferredIconStyle.h"
#include "window/VambleWindow.h"

#include <QDialog>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdio>

VamblePrefs* prefs = nullptr;
kit::Bitmap* checkBitmap = nullptr;
bool aboutwindow = false;

namespace {

// No screen lies this far out; a coordinate beyond it comes from a damaged settings file (and
// would not even convert to a whole number).
constexpr float kFarthestCoordinate = 1'000'000.0f;

// A stored frame is used as it is, unless it is damaged (a coordinate that is no number or lies
// absurdly far out, or a size larger than every screen) or no screen shows any of it (a monitor
// was removed since it was saved): then the window would open out of reach or out of size.
bool IsUsable(const kit::Rect& frame) {
    for (const float edge : {frame.left, frame.top, frame.right, frame.bottom}) {
        if (!std::isfinite(edge) || std::abs(edge) > kFarthestCoordinate) {
            return false;
        }
    }
    const QRect area(static_cast<int>(frame.left), static_cast<int>(frame.top),
                     static_cast<int>(frame.Width()), static_cast<int>(frame.Height()));
    if (area.isEmpty()) {
        return false;
    }
    bool shown = false;
    bool fits = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect screenArea = screen->geometry();
        shown = shown || screenArea.intersects(area);
        fits = fits || (area.width() <= screenArea.width() && area.height() <= screenArea.height());
    }
    return shown && fits;
}

// The depth of event loops while only the application's own runs (Run's exec); a dialog's
// loop lies deeper.
constexpr int kOwnLoopLevel = 1;
// How often a close from outside looks whether the cancelled dialogs' loops have returned.
constexpr std::chrono::milliseconds kDialogReturnPoll{20};

// A frame of this size centred on the main screen.
kit::Rect CentredOnMainScreen(float width, float height) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const kit::Rect screenFrame =
        screen ? kit::FromQRect(screen->geometry()) : kit::Rect(0, 0, 799, 599);
    const float left =
        screenFrame.left + (screenFrame.right - screenFrame.left) * 0.5f - width * 0.5f;
    const float top =
        screenFrame.top + (screenFrame.bottom - screenFrame.top) * 0.5f - height * 0.5f;
    return {left, top, left + width, top + height};
}

// A PNG picture of the program's resources, read by the built-in PNG reader alone: left to find
// out the format, Qt would load every image format plugin there is to ask each one.
QPixmap ResourcePng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

VambleApp::VambleApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vamble"));
    setApplicationVersion(QString::fromLatin1(kVambleVersion));
    setDesktopFileName(QString::fromLatin1(kDesktopId));
    // The application takes the style over.
    setStyle(new kit::DeferredIconStyle); // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
    setWindowIcon(QIcon(ResourcePng(QStringLiteral(":/icons/vamble-32.png"))));
    setQuitOnLastWindowClosed(false);
    // All settings live in the program's one settings file. Qt's file dialogs would keep their
    // own (history, sidebar, view) in ~/.config/QtProject.conf; a folder below /dev/null can
    // never be made, so they neither read nor write one.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
    }

    openedFiles = arguments().mid(1);
    QString refused;
    const QString launchFolder = SingleLaunch::DefaultFolder(&refused);
    if (launchFolder.isEmpty()) {
        launchRefused = refused;
        return;
    }
    singleLaunch = std::make_unique<SingleLaunch>(launchFolder);
    launch = singleLaunch->HandOver(openedFiles);
    if (launch != SingleLaunch::Outcome::Alone) {
        return;
    }

    aboutwindow = false;
    prefs = new VamblePrefs(kSettingsFileName);
    checkBitmap = new kit::Bitmap(MakeCheckBitmap());
}

VambleApp::~VambleApp() {
    // When the loop ended some other way than through the main window, closing it now still
    // saves the settings; a store that no window took over is written back as it was read.
    delete mainWindow;
    delete aboutWindow;
    delete prefs;
    prefs = nullptr;
    delete checkBitmap;
    checkBitmap = nullptr;
}

int VambleApp::Run() {
    if (!launchRefused.isEmpty()) {
        std::fprintf(stderr,
                     "vamble: no private folder to tell whether Vamble runs already (%s); not "
                     "started.\n",
                     launchRefused.toLocal8Bit().constData());
        return 1;
    }
    if (launch == SingleLaunch::Outcome::HandedOver) {
        return 0;
    }
    if (launch == SingleLaunch::Outcome::NoAnswer) {
        // A second instance would write the same settings file; the user is told instead.
        std::fputs("vamble: another Vamble is running for this user but does not answer; files "
                   "named were not handed over.\n",
                   stderr);
        return 1;
    }
    // A signal from here on closes the window once the loop runs. This comes before listening:
    // from then on others take this instance as running and may ask it to end at once.
    terminationSignals =
        std::make_unique<TerminationSignals>([this](int /*signalNumber*/) { CloseFromOutside(); });
    connect(this, &QGuiApplication::commitDataRequest, this, [this] { CloseFromOutside(); });
    singleLaunch->Listen([this](const kit::Message& refs) {
        kit::Message copy = refs;
        RefsReceived(&copy);
    });

    ReadyToRun();
    exec();
    return 0;
}

kit::Rect VambleApp::DefaultWindowFrame() {
    return CentredOnMainScreen(400.0f, 400.0f);
}

void VambleApp::ReadyToRun() {
    const kit::Rect defaultFrame = DefaultWindowFrame();
    const kit::Rect stored = prefs->SetRect("WindowRect", defaultFrame);
    const bool usesDefault = stored == defaultFrame || !IsUsable(stored);
    mainWindow = new VambleWindow(usesDefault ? defaultFrame : stored);
    mainWindow->Inititialize();
    mainWindow->KeepList(std::make_unique<KeptListFile>());
    // Files still being tagged once the window has gone do not keep a new start waiting: it
    // becomes the running instance at once.
    mainWindow->SetSettingsSavedHandler([this] { singleLaunch->Release(); });
    if (usesDefault) {
        // The window grows from the default size to the size its contents ask for, as far as
        // the screen has room, and at least to what they need; the grown frame is centred
        // instead of keeping the default's top left.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QSize room = screen ? screen->availableSize() : mainWindow->sizeHint();
        const QSize grown = mainWindow->size()
                                .expandedTo(mainWindow->sizeHint().boundedTo(room))
                                .expandedTo(mainWindow->minimumSizeHint());
        const kit::Rect centred = CentredOnMainScreen(static_cast<float>(grown.width()),
                                                      static_cast<float>(grown.height()));
        mainWindow->setGeometry(static_cast<int>(centred.left), static_cast<int>(centred.top),
                                grown.width(), grown.height());
    }
    mainWindow->show();
    // Looking for CDs may wait on drives: it comes once the window is on the screen.
    QTimer::singleShot(0, mainWindow.data(), &VambleWindow::CheckForCDs);
    if (!openedFiles.isEmpty()) {
        kit::Message refs = SingleLaunch::RefsMessage(openedFiles);
        RefsReceived(&refs);
    }
}

void VambleApp::AboutRequested() {
    if (aboutwindow && aboutWindow) {
        if (aboutWindow->isHidden()) {
            aboutWindow->show();
        }
        if (aboutWindow->isMinimized()) {
            aboutWindow->showNormal();
        }
        aboutWindow->raise();
        aboutWindow->activateWindow();
        return;
    }
    aboutWindow = new About;
    aboutwindow = true;
    aboutWindow->show();
}

void VambleApp::RefsReceived(kit::Message* message) {
    if (!mainWindow) {
        return;
    }
    mainWindow->FileList()->MessageReceived(message);
    if (mainWindow->isMinimized()) {
        mainWindow->showNormal();
    }
    mainWindow->raise();
    mainWindow->activateWindow();
}

// A member, not static: it is the application's answer to a quit request, as the window's is.
bool VambleApp::QuitRequested() { // NOLINT(readability-convert-member-functions-to-static)
    std::fputs("Quit Requested.\n", stdout);
    std::fflush(stdout);
    quit();
    return true;
}

void VambleApp::CloseFromOutside() {
    // A modal dialog runs a loop of its own inside some call of the window's (or of another
    // dialog's), which must not lose the window under it: the dialogs are cancelled, and the
    // window closes once control is back in the application's own loop.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
        if (QApplication::activeModalWidget() == modal) {
            break; // it refused; the retry below asks again
        }
    }
    if (QThread::currentThread()->loopLevel() > kOwnLoopLevel) {
        QTimer::singleShot(kDialogReturnPoll, this, [this] { CloseFromOutside(); });
        return;
    }
    if (mainWindow) {
        mainWindow->CloseWithoutAsking();
    } else {
        QuitRequested();
    }
}

void VambleApp::MessageReceived(kit::Message* message) {
    switch (message->what) {
    case kit::B_ABOUT_REQUESTED:
        AboutRequested();
        break;
    case kit::B_QUIT_REQUESTED:
        QuitRequested();
        break;
    case kit::B_REFS_RECEIVED:
        RefsReceived(message);
        break;
    default:
        break;
    }
}

bool VambleApp::event(QEvent* event) {
    return kit::DeliverMessageEvent(event, this) || QApplication::event(event);
}
