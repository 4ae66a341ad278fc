// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/RunMonitor.h"

#include "window/RunStatusView.h"

#include <QWidget>
#include <cmath>

RunMonitor::RunMonitor(QWidget* mainWindow, RunStatusView* statusView,
                       DesktopNotifier& desktopNotifier, LauncherProgress& launcherEntry)
    : window(mainWindow), view(statusView), notifier(desktopNotifier), launcher(launcherEntry) {
    view->Reset();
}

void RunMonitor::Show(const RunSummary& summary) {
    view->ShowProgress(summary.fraction, summary.timeLeft);
    const int percent = static_cast<int>(std::floor(summary.fraction * 100.0));
    if (percent != shownPercent) {
        shownPercent = percent;
        window->setWindowTitle(WindowTitle(summary.fraction));
        launcher.Show(summary.fraction);
    }
}

void RunMonitor::End(const RunEnd& end, const QString& detail) {
    if (!Running()) {
        return;
    }
    shownPercent = -1;
    view->Reset();
    window->setWindowTitle(WindowTitle());
    launcher.Hide();
    // Someone looking at the window sees the end there.
    if (window->isActiveWindow()) {
        return;
    }
    const int done = end.summary.rowsDone;
    switch (end.kind) {
    case RunEnd::Kind::Finished:
        notifier.Notify(tr("Encoding finished"),
                        done == 1 ? tr("1 file encoded.") : tr("%1 files encoded.").arg(done));
        break;
    case RunEnd::Kind::Stopped:
        notifier.Notify(tr("Encoding stopped"),
                        tr("%1 of %2 files encoded.").arg(done).arg(end.summary.rowsInRun));
        break;
    case RunEnd::Kind::Failed:
        notifier.Notify(tr("Encoding failed"), detail);
        break;
    }
}
