// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleLaunch.h"

#include "kit/AppDefs.h"
#include "kit/OwnFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kRetryPause{20};
// A hand-over lists file paths; anything larger is not one of ours.
constexpr qsizetype kMaxHandOverBytes = qsizetype{4} * 1024 * 1024;
// The instance's answer once it holds the files.
constexpr char kTaken = '+';

// A socket address for the path; false when the path does not fit into one.
bool SocketAddress(const QByteArray& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return true;
}

timeval ToTimeval(std::chrono::milliseconds time) {
    const auto ms = std::max<std::chrono::milliseconds::rep>(time.count(), 1);
    return {static_cast<time_t>(ms / 1000), static_cast<suseconds_t>(ms % 1000 * 1000)};
}

// Sends the message to the instance listening on the socket and waits for its answer, within
// `time`; true once the instance has taken it.
bool Deliver(const QByteArray& socketPath, const QByteArray& message,
             std::chrono::milliseconds time) {
    sockaddr_un address{};
    if (!SocketAddress(socketPath, address)) {
        return false;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const timeval limit = ToTimeval(time);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    bool taken = false;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
        qsizetype sent = 0;
        while (sent < message.size()) {
            const ssize_t n = send(fd, message.constData() + sent,
                                   static_cast<size_t>(message.size() - sent), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            sent += n;
        }
        char answer = 0;
        ssize_t n = -1;
        if (sent == message.size() && shutdown(fd, SHUT_WR) == 0) {
            do {
                n = recv(fd, &answer, 1, 0);
            } while (n < 0 && errno == EINTR);
        }
        taken = n == 1 && answer == kTaken;
    }
    close(fd);
    return taken;
}

} // namespace

SingleLaunch::SingleLaunch(const QString& folder, std::chrono::milliseconds answerWithin)
    : answerTime(answerWithin),
      lockPath(QFile::encodeName(folder + QStringLiteral("/vamble.lock"))),
      socketPath(QFile::encodeName(folder + QStringLiteral("/vamble.socket"))) {}

SingleLaunch::~SingleLaunch() {
    Release();
}

void SingleLaunch::Release() {
    while (!connections.empty()) {
        Close(connections.back().get());
    }
    if (serverFd >= 0) {
        serverNotifier.reset();
        close(serverFd);
        serverFd = -1;
        unlink(socketPath.constData());
    }
    // Last, so that a start taking the lock over finds no socket of this instance.
    if (lockFd >= 0) {
        close(lockFd);
        lockFd = -1;
    }
}

namespace {

// Why the folder is not one only this user can reach; empty when it is.
QString CheckPrivateFolder(const QString& folder) {
    const std::filesystem::path path(QFile::encodeName(folder).toStdString());
    if (QString refused = kit::CheckOwnFolder(path); !refused.isEmpty()) {
        return refused;
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || (status.st_mode & 077) != 0) {
        return QStringLiteral("%1 may be entered by other users").arg(folder);
    }
    return {};
}

} // namespace

QString SingleLaunch::DefaultFolder(QString* refused) {
    const QString runtime = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && CheckPrivateFolder(runtime).isEmpty()) {
        return runtime;
    }
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                          QStringLiteral("/vamble");
    QString why = kit::MakeOwnFolder(QFile::encodeName(cache).toStdString());
    if (why.isEmpty() && ::chmod(QFile::encodeName(cache).constData(), 0700) != 0) {
        why = QStringLiteral("%1: %2").arg(cache, QString::fromUtf8(std::strerror(errno)));
    }
    if (why.isEmpty()) {
        why = CheckPrivateFolder(cache);
    }
    if (!why.isEmpty()) {
        if (refused != nullptr) {
            *refused = why;
        }
        return {};
    }
    return cache;
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

SingleLaunch::Outcome SingleLaunch::HandOver(const QStringList& files) {
    lockFd = open(lockPath.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd < 0) {
        return Outcome::Alone;
    }
    const QByteArray message = RefsMessage(files).Flatten();
    const auto deadline = Clock::now() + answerTime;
    while (true) {
        if (flock(lockFd, LOCK_EX | LOCK_NB) == 0) {
            return Outcome::Alone;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (Deliver(socketPath, message, left)) {
            close(lockFd);
            lockFd = -1;
            return Outcome::HandedOver;
        }
        // The instance is still starting (no socket yet), or ending: then the lock comes free.
        if (Clock::now() >= deadline) {
            close(lockFd);
            lockFd = -1;
            return Outcome::NoAnswer;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
}

bool SingleLaunch::Listen(std::function<void(const kit::Message&)> receiver) {
    onHandOver = std::move(receiver);
    sockaddr_un address{};
    if (lockFd < 0 || !SocketAddress(socketPath, address)) {
        return false;
    }
    // This start holds the lock, so a socket still there was left by an instance that crashed.
    unlink(socketPath.constData());
    serverFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (serverFd < 0) {
        return false;
    }
    if (bind(serverFd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(serverFd, SOMAXCONN) != 0) {
        close(serverFd);
        serverFd = -1;
        return false;
    }
    serverNotifier = std::make_unique<QSocketNotifier>(serverFd, QSocketNotifier::Read);
    connect(serverNotifier.get(), &QSocketNotifier::activated, this, [this] { Accept(); });
    return true;
}

void SingleLaunch::Accept() {
    while (true) {
        const int fd = accept4(serverFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            return;
        }
        // Only this user's starts hand files over.
        ucred peer{};
        socklen_t size = sizeof(peer);
        if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != getuid()) {
            close(fd);
            continue;
        }
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        Connection* raw = connection.get();
        connect(connection->notifier, &QSocketNotifier::activated, this,
                [this, raw] { Read(raw); });
        connections.push_back(std::move(connection));
    }
}

void SingleLaunch::Read(Connection* connection) {
    char buffer[16384];
    while (true) {
        const ssize_t n = read(connection->fd, buffer, sizeof(buffer));
        if (n > 0) {
            connection->received.append(buffer, n);
            if (connection->received.size() > kMaxHandOverBytes) {
                Close(connection);
                return;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return; // the rest comes later
        }
        break; // the end of the message, or a failed connection
    }
    kit::Message message;
    const bool valid = message.Unflatten(connection->received) == kit::B_OK &&
                       message.what == kit::B_REFS_RECEIVED;
    if (valid) {
        // The answer goes first: the files are in hand, and the start need not wait for the
        // list to take them.
        send(connection->fd, &kTaken, 1, MSG_NOSIGNAL);
    }
    Close(connection);
    if (valid && onHandOver) {
        onHandOver(message);
    }
}

void SingleLaunch::Close(Connection* connection) {
    const auto owned =
        std::find_if(connections.begin(), connections.end(),
                     [connection](const auto& held) { return held.get() == connection; });
    if (owned == connections.end()) {
        return;
    }
    // This may run inside the notifier's own signal: it is switched off before its descriptor
    // closes, and deleted once back in the event loop (or with this object).
    connection->notifier->setEnabled(false);
    connection->notifier->deleteLater();
    close(connection->fd);
    connections.erase(owned);
}
