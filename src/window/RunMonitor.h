// SPDX-License-Identifier: GPL-3.0-or-later
// What a whole encoding run shows beyond the file being encoded: the part done and the time left
// in the status area, the percentage in the window's title, the progress on the desktop's
// launcher, and a notification when the run ends while the window is not the active one. It
// paints what the run reports and keeps no count of its own.
#pragma once

#include "app/DesktopNotifier.h"
#include "app/LauncherProgress.h"
#include "encoding/EncodeQueue.h"

#include <QCoreApplication>
#include <QString>

class QWidget;
class RunStatusView;

class RunMonitor {
    Q_DECLARE_TR_FUNCTIONS(RunMonitor)

public:
    // Shows the run in `statusView` and in `mainWindow`'s title; notifies and signals through
    // the given services. Nothing is owned.
    RunMonitor(QWidget* mainWindow, RunStatusView* statusView, DesktopNotifier& desktopNotifier,
               LauncherProgress& launcherEntry);

    RunMonitor(const RunMonitor&) = delete;
    RunMonitor& operator=(const RunMonitor&) = delete;

    // The run is this far.
    void Show(const RunSummary& summary);
    // The run ended as `end` says; `detail` says which file failed and why.
    void End(const RunEnd& end, const QString& detail = {});

    bool Running() const { return shownPercent >= 0; }

private:
    QWidget* window;
    RunStatusView* view;
    DesktopNotifier& notifier;
    LauncherProgress& launcher;
    // The whole percentage last shown, so title and launcher change only when it does; -1 while
    // no run is shown.
    int shownPercent = -1;
};
