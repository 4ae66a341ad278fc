// SPDX-License-Identifier: GPL-3.0-or-later
// What a whole encoding run shows beyond the file being encoded: the part done and the time left
// in the status area, the percentage in the window's title, the progress on the desktop's
// launcher, and a notification when the run ends while the window is not the active one.
#pragma once

#include "app/DesktopNotifier.h"
#include "app/LauncherProgress.h"
#include "encoding/RunProgress.h"

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
class RunStatusView;

class RunMonitor {
    Q_DECLARE_TR_FUNCTIONS(RunMonitor)

public:
    struct RunRow {
        int64_t id = 0;
        std::filesystem::path source; // the WAV file, whose header tells how long it plays
    };

    enum class EndKind { Finished, Stopped, Failed };

    // Shows the run in `statusView` and in `mainWindow`'s title; notifies and signals through
    // the given services; reads the time from `runClock`. Nothing is owned.
    RunMonitor(QWidget* mainWindow, RunStatusView* statusView, DesktopNotifier& desktopNotifier,
               LauncherProgress& launcherEntry,
               RunProgress::Clock runClock = std::chrono::steady_clock::now);

    RunMonitor(const RunMonitor&) = delete;
    RunMonitor& operator=(const RunMonitor&) = delete;

    // A run of these rows begins (a run already going on is replaced). How long each file plays
    // is read from its header off the GUI thread; until it is known, the rows count alike.
    void Start(const std::vector<RunRow>& rows);
    // The encoder reported the part of a row done, 0 to 1.
    void Progress(int64_t row, double fraction);
    // A row was encoded.
    void RowDone(int64_t row);
    // A row leaves the run unencoded (held back, removed, failed); rows not in the run are
    // ignored.
    void RowLeft(int64_t row);
    // The run ended: everything done, stopped by the user, or failed with `detail` (which file
    // and why). Nothing happens when no run goes on.
    void End(EndKind kind, const QString& detail = {});

    bool Running() const { return progress.has_value(); }
    // The part of the run done, 0 to 1; nothing while no run goes on.
    std::optional<double> Fraction() const;

private:
    void Show();
    // The lengths read for run `run` arrived.
    void LengthsRead(int run, const std::vector<RunProgress::Row>& lengths);

    QWidget* window;
    RunStatusView* view;
    DesktopNotifier& notifier;
    LauncherProgress& launcher;
    RunProgress::Clock clock;
    std::optional<RunProgress> progress;
    int rowsInRun = 0;
    int rowsDone = 0;
    // The whole percentage last shown, so title and launcher change only when it does.
    int shownPercent = -1;
    // Counts the runs, so that lengths read for an earlier run are not taken for this one.
    int runCount = 0;
    // The monitor for work that ends after it may be gone: expires with the monitor, which it
    // does not own.
    std::shared_ptr<RunMonitor> self{this, [](RunMonitor*) {}};
};
