// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "kit/Message.h"

#include <QObject>
#include <QSocketNotifier>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

// One running instance per user: whichever program file it was started from, a later start hands
// its file arguments to the running instance and exits. The user's runtime folder holds a lock
// file that the running instance keeps locked for as long as it runs (the kernel lets go of it
// when the process ends, however it ends) and a local socket on which it takes the files. Plain
// POSIX sockets under the event loop's notifiers: no network library is loaded for this.
class SingleLaunch : public QObject {
public:
    // How long a start waits for the running instance to take its files: an instance still
    // starting listens well within it.
    static constexpr std::chrono::milliseconds kAnswerTime{10000};

    // The lock and the socket lie in `folder`.
    explicit SingleLaunch(const QString& folder,
                          std::chrono::milliseconds answerWithin = kAnswerTime);
    ~SingleLaunch() override;

    SingleLaunch(const SingleLaunch&) = delete;
    SingleLaunch& operator=(const SingleLaunch&) = delete;

    // Where the lock and the socket lie: the user's runtime folder ($XDG_RUNTIME_DIR) when it is
    // a private folder of this user (not a link, mode 0700), else the program's cache folder,
    // made private. Empty, with `refused` telling why, when neither can be used: a folder others
    // may write into could let a second instance run beside the first.
    static QString DefaultFolder(QString* refused = nullptr);

    enum class Outcome {
        Alone,      // no instance runs: this start holds the lock and is to become the instance
        HandedOver, // the running instance took the files
        NoAnswer,   // an instance holds the lock but took no files in time
    };
    // Offers the files (made absolute against the current folder) to the running instance as a
    // B_REFS_RECEIVED message. An instance that is still starting is waited for, as long as the
    // time limit allows. A folder where no lock can be made leaves this start alone.
    Outcome HandOver(const QStringList& files);

    // Starts taking later starts' files (only after HandOver found this start alone); each
    // hand-over reaches the receiver as its message on the GUI thread. False when the socket
    // cannot be made.
    bool Listen(std::function<void(const kit::Message&)> receiver);

    // Stops taking files and lets go of the lock: the next start becomes the running instance.
    void Release();

    // The message a start sends for these files.
    static kit::Message RefsMessage(const QStringList& files);

private:
    struct Connection {
        int fd = -1;
        QByteArray received;
        QSocketNotifier* notifier = nullptr; // a child of this object
    };

    void Accept();
    void Read(Connection* connection);
    void Close(Connection* connection);

    std::chrono::milliseconds answerTime;
    QByteArray lockPath;
    QByteArray socketPath;
    int lockFd = -1;
    int serverFd = -1;
    std::unique_ptr<QSocketNotifier> serverNotifier;
    std::vector<std::unique_ptr<Connection>> connections;
    std::function<void(const kit::Message&)> onHandOver;
};
