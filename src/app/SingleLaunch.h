#pragma once

#include "kit/Message.h"

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <functional>

// One running instance per executable: a later start hands its file arguments to the running
// instance over a local socket and exits.
class SingleLaunch : public QObject {
public:
    explicit SingleLaunch(QString serverName);

    // The socket name for this user and this executable file, in the user's runtime folder.
    static QString DefaultServerName();

    // Offers the files (made absolute against the current folder) to a running instance as a
    // B_REFS_RECEIVED message; true when an instance took them.
    bool HandOver(const QStringList& files);

    // Starts answering later starts; each hand-over reaches the receiver as its message.
    bool Listen(std::function<void(const kit::Message&)> receiver);

    // The message a start sends for these files.
    static kit::Message RefsMessage(const QStringList& files);

private:
    QString name;
    QLocalServer server;
    std::function<void(const kit::Message&)> onHandOver;
};
