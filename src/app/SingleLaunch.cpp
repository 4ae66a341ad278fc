#include "app/SingleLaunch.h"

#include "kit/AppDefs.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <memory>

namespace {

constexpr int kConnectTimeoutMs = 1000;
// How long a start waits for another start's turn to end; a start never hangs on a lock
// whose holder is stuck, it then goes on as if alone.
constexpr int kTurnTimeoutMs = 10000;
// A hand-over lists file paths; anything larger is not one of ours.
constexpr qint64 kMaxHandOverBytes = qint64{4} * 1024 * 1024;

} // namespace

SingleLaunch::SingleLaunch(QString serverName)
    : name(std::move(serverName)), turn(name + QStringLiteral(".lock")) {}

QString SingleLaunch::DefaultServerName() {
    const QByteArray executable = QCoreApplication::applicationFilePath().toUtf8();
    const QString id = QString::fromLatin1(
        QCryptographicHash::hash(executable, QCryptographicHash::Sha1).toHex().left(16));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder + QStringLiteral("/vamble-") + id;
}

kit::Message SingleLaunch::RefsMessage(const QStringList& files) {
    kit::Message message(kit::B_REFS_RECEIVED);
    for (const QString& file : files) {
        const QString absolute = QFileInfo(file).absoluteFilePath();
        message.Add<kit::EntryRef>("refs",
                                   kit::EntryRef{QFile::encodeName(absolute).toStdString()});
    }
    return message;
}

bool SingleLaunch::HandOver(const QStringList& files) {
    // This start's turn lasts until it has handed over or listens; a lock file left by a start
    // that died is taken over.
    turn.tryLock(kTurnTimeoutMs);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectTimeoutMs)) {
        return false;
    }
    turn.unlock();
    socket.write(RefsMessage(files).Flatten());
    socket.flush();
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(kConnectTimeoutMs);
    }
    return true;
}

bool SingleLaunch::Listen(std::function<void(const kit::Message&)> receiver) {
    onHandOver = std::move(receiver);
    // Nobody answered HandOver, so a socket left behind by a crashed instance is stale.
    QLocalServer::removeServer(name);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    const bool listening = server.listen(name);
    turn.unlock();
    if (!listening) {
        return false;
    }
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server.nextPendingConnection()) {
            auto received = std::make_shared<QByteArray>();
            connect(socket, &QLocalSocket::readyRead, socket, [socket, received] {
                *received += socket->readAll();
                if (received->size() > kMaxHandOverBytes) {
                    received->clear();
                    socket->abort();
                }
            });
            connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
                *received += socket->readAll();
                socket->deleteLater();
                kit::Message message;
                if (message.Unflatten(*received) == kit::B_OK &&
                    message.what == kit::B_REFS_RECEIVED && onHandOver) {
                    onHandOver(message);
                }
            });
        }
    });
    return true;
}
