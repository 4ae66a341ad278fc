#pragma once

#include "kit/Message.h"

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <functional>

// One running instance per executable: a later start hands its file arguments to the running
// instance over a local socket and exits. Starts take turns through a lock file beside the
// socket, so that of two starts at the same moment exactly one becomes the running instance.
class SingleLaunch : public QObject {
public:
    explicit SingleLaunch(QString serverName);

    // The socket name for this user and this executable file, in the user's runtime folder.
    static QString DefaultServerName();

    // Offers the files (made absolute against the current folder) to a running instance as a
    // B_REFS_RECEIVED message; true when an instance took them. When none did, this start keeps
    // its turn until Listen: a start meanwhile waits, then hands over to this one.
    bool HandOver(const QStringList& files);

    // Starts answering later starts; each hand-over reaches the receiver as its message. Ends
    // this start's turn.
    bool Listen(std::function<void(const kit::Message&)> receiver);

    // The message a start sends for these files.
    static kit::Message RefsMessage(const QStringList& files);

private:
    QString name;
    QLockFile turn;
    QLocalServer server;
    std::function<void(const kit::Message&)> onHandOver;
};
