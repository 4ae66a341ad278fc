#include "app/VambleApp.h"

#include "app/About.h"
#include "app/CheckBitmap.h"
#include "app/SingleLaunch.h"
#include "app/TerminationSignals.h"
#include "app/VamblePrefs.h"
#include "filelist/FileListView.h"
#include "kit/AppDefs.h"
#include "window/VambleWindow.h"

#include <QIcon>
#include <QScreen>
#include <cstdio>

VamblePrefs* prefs = nullptr;
kit::Bitmap* checkBitmap = nullptr;
bool aboutwindow = false;

namespace {

// A stored frame is used as it is, unless no screen shows any of it (a monitor was removed
// since it was saved): then the window would open out of reach.
bool IsOnSomeScreen(const kit::Rect& frame) {
    const QRect area(static_cast<int>(frame.left), static_cast<int>(frame.top),
                     static_cast<int>(frame.Width()), static_cast<int>(frame.Height()));
    if (area.isEmpty()) {
        return false;
    }
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(area)) {
            return true;
        }
    }
    return false;
}

} // namespace

VambleApp::VambleApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vamble"));
    setApplicationVersion(QStringLiteral("0.7.8"));
    setDesktopFileName(QStringLiteral("vamble"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/vamble-32.png")));
    setQuitOnLastWindowClosed(false);

    openedFiles = arguments().mid(1);
    singleLaunch = std::make_unique<SingleLaunch>(SingleLaunch::DefaultServerName());
    if (singleLaunch->HandOver(openedFiles)) {
        handedOver = true;
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

void VambleApp::Run() {
    if (handedOver) {
        return;
    }
    singleLaunch->Listen([this](const kit::Message& refs) {
        kit::Message copy = refs;
        RefsReceived(&copy);
    });
    terminationSignals =
        std::make_unique<TerminationSignals>([this](int /*signalNumber*/) { CloseFromOutside(); });
    connect(this, &QGuiApplication::commitDataRequest, this, [this] { CloseFromOutside(); });

    ReadyToRun();
    exec();
}

kit::Rect VambleApp::DefaultWindowFrame() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const kit::Rect screenFrame =
        screen ? kit::FromQRect(screen->geometry()) : kit::Rect(0, 0, 799, 599);
    const float left = (screenFrame.right - screenFrame.left) * 0.5f - 200.0f;
    const float top = (screenFrame.bottom - screenFrame.top) * 0.5f - 200.0f;
    return {left, top, left + 400.0f, top + 400.0f};
}

void VambleApp::ReadyToRun() {
    const kit::Rect defaultFrame = DefaultWindowFrame();
    kit::Rect frame = prefs->SetRect("WindowRect", defaultFrame);
    if (!IsOnSomeScreen(frame)) {
        frame = defaultFrame;
    }
    mainWindow = new VambleWindow(frame);
    mainWindow->Inititialize();
    mainWindow->show();
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

bool VambleApp::QuitRequested() {
    std::fputs("Quit Requested.\n", stdout);
    std::fflush(stdout);
    quit();
    return true;
}

void VambleApp::CloseFromOutside() {
    if (mainWindow) {
        mainWindow->close();
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
