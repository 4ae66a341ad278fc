// SPDX-License-Identifier: GPL-3.0-or-later
// The window's view of an encoding run: the queue's hooks into the list, the status line and
// bar following the newest row, the rows' progress drawn a few times a second, the marks of
// rows done, failed or held back, and the run's end told. The queue (encoding/EncodeQueue.h)
// owns the run; this view owns the queue and paints what it reports.
#pragma once

#include "app/DesktopNotifier.h"
#include "app/LauncherProgress.h"
#include "encoding/EncodeQueue.h"
#include "window/RunMonitor.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <unordered_map>

class AudioItem;
class FileListView;
class QLabel;
class RunStatusView;
class SettingsTab;
namespace kit {
class ElidedLabel;
class Messenger;
class ProgressBar;
} // namespace kit

class RunView final : private EncodeQueue::Hooks {
    // Its texts belong to the window's translation context, as the window's other texts do.
    Q_DECLARE_TR_FUNCTIONS(VambleWindow)

public:
    // What of the window the run's view uses.
    struct WindowParts {
        QWidget* window;
        FileListView* list;
        kit::ElidedLabel* status;
        kit::ProgressBar* bar;
        QLabel* filesRemaining;
        RunStatusView* runStatus;
        const SettingsTab* options;
        // The encoder options as they are now.
        std::function<EncoderSettings()> settings;
        // Encode and Stop as for a run (true) or for none.
        std::function<void(bool)> showRunning;
        // What the output files are made of changed.
        std::function<void()> outputsChanged;
        // The run ends so, before its end is shown.
        std::function<void(const RunEnd&)> ending;
    };
    explicit RunView(WindowParts parts);
    // Stops the run's workers; none reports from here on.
    ~RunView() override;
    RunView(const RunView&) = delete;
    RunView& operator=(const RunView&) = delete;

    [[nodiscard]] EncodeQueue& Queue() { return *queue; }
    [[nodiscard]] const EncodeQueue& Queue() const { return *queue; }
    [[nodiscard]] RunMonitor& Monitor() { return monitor; }

    // The command the row at `index` is encoded with, planned from the options as they are now.
    EncoderCommand Command(int32_t index) override;
    // A row was encoded: marks it done and updates "Files Remaining: ". A row no longer in the
    // list is not touched.
    void SetFileDone(int64_t id, bool isDone);
    // A row the user removes is never encoded further: when it is being encoded, its encoder
    // is stopped.
    void RowRemoved(int64_t id);
    // The status area follows the row that started last of those encoding.
    void FollowNewestRow();
    void ShowFilesRemaining() const;

private:
    // Shows the progress the workers reported since it was last shown. Encoders report a few
    // times a second each; drawing each report would take processor time from the encoders, so
    // the view shows them together.
    void ShowProgress();
    // "Encoding File:" names the row and the bar shows its progress.
    void FollowRow(int64_t id);
    // The row with this identity, null when it is gone.
    AudioItem* FindRow(int64_t id) const;

    std::optional<QueuedRow> RowAt(int32_t index) override;
    int FilesAtOnce() const override;
    void RowStarted(int64_t id) override;
    void Progress(int64_t id, float fraction) override;
    void RunProgressed(const RunSummary& summary) override;
    std::optional<FinishedFile> RowEncoded(int64_t id,
                                           const std::filesystem::path& output) override;
    void RowFailed(int64_t id, const std::string& reason) override;
    void RowHeldBack(int64_t id, ClashKind kind) override;
    void RowTagged(int64_t id, const std::string& warning) override;
    void RunEnded(const RunEnd& end) override;

    WindowParts ui;
    QObject context; // the thread the workers' reports come back to
    std::shared_ptr<kit::Messenger> messenger;
    DesktopNotifier notifier;
    LauncherProgress launcher;
    RunMonitor monitor;
    // The progress the workers reported and the view has not shown yet, by row.
    std::unordered_map<int64_t, float> unshownProgress;
    QTimer progressTimer;
    // The row the status area follows; 0 for none.
    int64_t statusRow = 0;
    std::unique_ptr<EncodeQueue> queue;
};
