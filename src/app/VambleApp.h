// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/About.h"
#include "app/SettingsStore.h"
#include "app/SingleLaunch.h"
#include "filelist/CheckBitmap.h"
#include "kit/MessageEvent.h"
#include "window/VambleWindow.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <memory>

class TerminationSignals;

// True while an About window exists.
extern bool aboutwindow;

inline constexpr char kApplicationSignature[] = "application/x-vnd.Xq-Vamble";
inline constexpr char kSettingsFileName[] = "Xq-Vamble";

// The application object: creates the settings store and the check mark, opens the main
// window, shows the About window on request and quits when the main window has closed.
class VambleApp : public QApplication, public kit::Handler {
public:
    VambleApp(int& argc, char** argv);
    ~VambleApp() override;

    VambleApp(const VambleApp&) = delete;
    VambleApp& operator=(const VambleApp&) = delete;

    // Runs the message loop until the application quits, and returns the exit status. When
    // another instance runs for this user, it has been handed this start's files instead, and
    // Run returns at once: 0, or 1 when that instance did not answer.
    int Run();

    void MessageReceived(kit::Message* message) override;

    // Opens, initialises and shows the main window.
    void ReadyToRun();
    // Brings the About window forward, or opens one when there is none.
    void AboutRequested();
    // Files opened with the application (named at start or handed over by a later start): the
    // file list adds them as if dropped, and the main window comes forward.
    void RefsReceived(kit::Message* message);
    // Prints "Quit Requested." and quits.
    bool QuitRequested();

    VambleWindow* MainWindow() const { return mainWindow; }
    About* AboutWindow() const { return aboutWindow; }

    // The frame the main window is built with when no usable frame is stored: 400 × 400 centred
    // on the main screen. The window then grows to what its contents need and stays centred.
    static kit::Rect DefaultWindowFrame();

protected:
    bool event(QEvent* event) override;

private:
    // A quit from outside the window (a signal, the session ending) closes the main window
    // through its normal path, which saves the settings, without asking about a run. Open
    // dialogs are cancelled first.
    void CloseFromOutside();

    std::unique_ptr<SingleLaunch> singleLaunch;
    std::unique_ptr<TerminationSignals> terminationSignals;
    QPointer<VambleWindow> mainWindow;
    QPointer<About> aboutWindow;
    QStringList openedFiles;
    SingleLaunch::Outcome launch = SingleLaunch::Outcome::Alone;
    QString launchRefused; // why no folder could tell whether an instance runs
};
