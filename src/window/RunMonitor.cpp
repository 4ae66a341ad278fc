// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/RunMonitor.h"

#include "encoding/WavDuration.h"
#include "window/RunStatusView.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <QWidget>
#include <cmath>

RunMonitor::RunMonitor(QWidget* mainWindow, RunStatusView* statusView,
                       DesktopNotifier& desktopNotifier, LauncherProgress& launcherEntry,
                       RunProgress::Clock runClock)
    : window(mainWindow), view(statusView), notifier(desktopNotifier), launcher(launcherEntry),
      clock(std::move(runClock)) {
    view->Reset();
}

void RunMonitor::Start(const std::vector<RunRow>& rows) {
    std::vector<RunProgress::Row> unknown;
    unknown.reserve(rows.size());
    for (const RunRow& row : rows) {
        unknown.push_back({row.id, std::nullopt});
    }
    progress.emplace(unknown, clock);
    rowsInRun = static_cast<int>(rows.size());
    rowsDone = 0;
    shownPercent = -1;
    Show();
    // The answer comes back by the application's event queue, to the GUI thread, where the
    // monitor is found alive or gone.
    QThreadPool::globalInstance()->start(
        [rows, run = ++runCount, alive = std::weak_ptr<RunMonitor>(self)] {
            std::vector<RunProgress::Row> lengths;
            lengths.reserve(rows.size());
            for (const RunRow& row : rows) {
                lengths.push_back({row.id, WavDurationSeconds(row.source)});
            }
            // Qt owns the call from here on and deletes it once it has run.
            // NOLINTBEGIN(clang-analyzer-cplusplus.NewDeleteLeaks)
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [alive, run, lengths] {
                    if (const std::shared_ptr<RunMonitor> monitor = alive.lock()) {
                        monitor->LengthsRead(run, lengths);
                    }
                },
                Qt::QueuedConnection);
            // NOLINTEND(clang-analyzer-cplusplus.NewDeleteLeaks)
        });
}

void RunMonitor::LengthsRead(int run, const std::vector<RunProgress::Row>& lengths) {
    if (progress && run == runCount) {
        progress->SetLengths(lengths);
        Show();
    }
}

void RunMonitor::Progress(int64_t row, double fraction) {
    if (progress) {
        progress->Progress(row, fraction);
        Show();
    }
}

void RunMonitor::RowDone(int64_t row) {
    if (progress) {
        progress->RowDone(row);
        ++rowsDone;
        Show();
    }
}

void RunMonitor::RowLeft(int64_t row) {
    if (progress && progress->RowLeft(row)) {
        --rowsInRun;
        Show();
    }
}

std::optional<double> RunMonitor::Fraction() const {
    return progress ? std::optional(progress->Fraction()) : std::nullopt;
}

void RunMonitor::Show() {
    view->ShowProgress(progress->Fraction(), progress->TimeLeft());
    const int percent = static_cast<int>(std::floor(progress->Fraction() * 100.0));
    if (percent != shownPercent) {
        shownPercent = percent;
        window->setWindowTitle(WindowTitle(progress->Fraction()));
        launcher.Show(progress->Fraction());
    }
}

void RunMonitor::End(EndKind kind, const QString& detail) {
    if (!progress) {
        return;
    }
    progress.reset();
    view->Reset();
    window->setWindowTitle(WindowTitle());
    launcher.Hide();
    // Someone looking at the window sees the end there.
    if (window->isActiveWindow()) {
        return;
    }
    switch (kind) {
    case EndKind::Finished:
        notifier.Notify(tr("Encoding finished"), rowsDone == 1
                                                     ? tr("1 file encoded.")
                                                     : tr("%1 files encoded.").arg(rowsDone));
        break;
    case EndKind::Stopped:
        notifier.Notify(tr("Encoding stopped"),
                        tr("%1 of %2 files encoded.").arg(rowsDone).arg(rowsInRun));
        break;
    case EndKind::Failed:
        notifier.Notify(tr("Encoding failed"), detail);
        break;
    }
}
