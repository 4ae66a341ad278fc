// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the file list's rows not yet encoded in the kept list's file, so that a quit, a logout or a
// crash loses at most the last second of work: once a second, when the list changed or the user
// typed or clicked since, it looks whether the rows changed and has a thread of its own write
// them; at quit it writes at once.
#pragma once

#include "filelist/KeptList.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class FileListView;

class ListKeeper : public QObject {
public:
    // `told` shows the user why the list could not be taken or kept, on the GUI thread.
    ListKeeper(FileListView* fileList, std::unique_ptr<KeptListFile> keptFile,
               std::function<void(const QString&)> told);
    // Waits for a write under way.
    ~ListKeeper() override;
    ListKeeper(const ListKeeper&) = delete;
    ListKeeper& operator=(const ListKeeper&) = delete;

    // Adds the kept rows to the list and keeps it from now on. Nothing when another instance
    // holds the list.
    void Restore();
    // Writes the rows on this thread when they changed since last written, and keeps no more.
    void WriteNow();

    // How often the rows are looked at.
    static constexpr int kIntervalMs = 1000;

protected:
    // Notes the user's keys, clicks and drops: some edits (tags applied to rows) redraw no row.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Look();
    void Write();

    FileListView* list;
    std::unique_ptr<KeptListFile> file;
    std::function<void(const QString&)> tell;
    QTimer timer;
    std::vector<KeptRow> handedOver; // the rows as last given to be written
    uint64_t changesSeen = 0;        // the list's count of changes at the last look
    bool userActed = false;          // a key, click or drop since the last look

    std::mutex mutex;
    std::condition_variable changed;
    std::optional<std::vector<KeptRow>> pending; // rows the writer has yet to write
    bool ending = false;
    std::thread writer;
    QString lastProblem; // on the writer's thread: told once until it changes
};
