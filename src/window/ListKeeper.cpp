// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/ListKeeper.h"

#include "filelist/FileListView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <cstdio>
#include <pthread.h>
#include <utility>

ListKeeper::ListKeeper(FileListView* fileList, std::unique_ptr<KeptListFile> keptFile,
                       std::function<void(const QString&)> told)
    : list(fileList), file(std::move(keptFile)), tell(std::move(told)) {
    timer.setInterval(kIntervalMs);
    QObject::connect(&timer, &QTimer::timeout, this, [this] { Look(); });
}

bool ListKeeper::eventFilter(QObject* /*watched*/, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonRelease:
    case QEvent::Drop:
        userActed = true;
        break;
    default:
        break;
    }
    return false;
}

ListKeeper::~ListKeeper() {
    {
        const std::lock_guard lock(mutex);
        ending = true;
    }
    changed.notify_all();
    if (writer.joinable()) {
        writer.join();
    }
}

void ListKeeper::Restore() {
    if (!file->Held()) {
        return;
    }
    KeptListFile::Loaded loaded = file->Load();
    if (!loaded.rows.empty()) {
        list->RestoreRows(loaded.rows);
    }
    handedOver = std::move(loaded.rows);
    QCoreApplication::instance()->installEventFilter(this);
    if (!loaded.problem.isEmpty()) {
        tell(loaded.problem);
    }
    writer = std::thread([this] { Write(); });
    timer.start();
}

void ListKeeper::Look() {
    // Looking costs a copy of every row; nothing that could change one happened since the last.
    if (!userActed && list->Changes() == changesSeen) {
        return;
    }
    userActed = false;
    changesSeen = list->Changes();
    std::vector<KeptRow> rows = list->RowsToKeep();
    if (rows == handedOver) {
        return;
    }
    handedOver = rows;
    {
        const std::lock_guard lock(mutex);
        pending = std::move(rows);
    }
    changed.notify_all();
}

void ListKeeper::WriteNow() {
    if (!timer.isActive()) {
        return;
    }
    timer.stop();
    {
        const std::lock_guard lock(mutex);
        ending = true;
        pending.reset();
    }
    changed.notify_all();
    writer.join();
    std::vector<KeptRow> rows = list->RowsToKeep();
    if (rows != handedOver) {
        const QString problem = file->Write(KeptListBytes(rows));
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "vamble: the list of files could not be kept in %s: %s\n",
                         file->Path().c_str(), problem.toLocal8Bit().constData());
        }
    }
}

void ListKeeper::Write() {
    pthread_setname_np(pthread_self(), "vamble_keeplist");
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return ending || pending.has_value(); });
        if (ending) {
            return;
        }
        const std::vector<KeptRow> rows = std::move(*pending);
        pending.reset();
        lock.unlock();
        const QString problem = file->Write(KeptListBytes(rows));
        if (problem != lastProblem && !problem.isEmpty()) {
            QMetaObject::invokeMethod(this, [this, problem] {
                tell(QCoreApplication::translate("ListKeeper",
                                                 "The list of files cannot be kept in %1: %2")
                         .arg(QFile::decodeName(file->Path().c_str()), problem));
            });
        }
        lastProblem = problem;
        lock.lock();
    }
}
