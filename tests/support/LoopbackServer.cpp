// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/LoopbackServer.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

LoopbackServer::LoopbackServer() {
    server.listen(QHostAddress::LocalHost);
    clock.start();
    connect(&server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                // Requests are GETs without a body: the head ends with an empty line.
                const QByteArray received =
                    socket->property("received").toByteArray() + socket->readAll();
                socket->setProperty("received", received);
                if (received.contains("\r\n\r\n") && !socket->property("answered").toBool()) {
                    socket->setProperty("answered", true);
                    Answer(socket, received);
                }
            });
        }
    });
}

QUrl LoopbackServer::Url() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()));
}

void LoopbackServer::Serve(const QByteArray& path, std::vector<RecordedAnswer> answers) {
    routes[path] = std::move(answers);
    served[path] = 0;
}

std::vector<SeenRequest> LoopbackServer::RequestsTo(const QByteArray& path) const {
    std::vector<SeenRequest> matching;
    for (const SeenRequest& request : requests) {
        if (request.target.startsWith(path)) {
            matching.push_back(request);
        }
    }
    return matching;
}

void LoopbackServer::Answer(QTcpSocket* socket, const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    SeenRequest seen{requestLine.value(1), {}, clock.elapsed()};
    for (const QByteArray& line : lines) {
        if (line.toLower().startsWith("user-agent:")) {
            seen.userAgent = line.mid(line.indexOf(':') + 1).trimmed();
        }
    }
    requests.push_back(seen);

    const QByteArray path = seen.target.split('?').value(0);
    const std::vector<RecordedAnswer>* answers = nullptr;
    QByteArray route;
    for (const auto& [prefix, recorded] : routes) {
        if (path.startsWith(prefix) && prefix.size() >= route.size()) {
            route = prefix;
            answers = &recorded;
        }
    }
    RecordedAnswer answer{404, "not here", "text/plain", {}, {}};
    if (answers != nullptr && !answers->empty()) {
        size_t& turn = served[route];
        answer = (*answers)[std::min(turn, answers->size() - 1)];
        ++turn;
    }
    QByteArray response = "HTTP/1.1 " + QByteArray::number(answer.status) + " Recorded\r\n" +
                          "Content-Type: " + answer.contentType + "\r\n" +
                          "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n" +
                          "Connection: close\r\n";
    for (const auto& [name, value] : answer.headers) {
        response += name + ": " + value + "\r\n";
    }
    response += "\r\n" + answer.body;
    if (answer.drip.count() > 0) {
        auto* drip = new QTimer(socket);
        drip->setInterval(answer.drip);
        connect(drip, &QTimer::timeout, socket, [socket, response, sent = qsizetype{0}]() mutable {
            if (sent < response.size()) {
                socket->write(response.mid(sent++, 1));
            }
        });
        drip->start();
        return;
    }
    QTimer::singleShot(answer.delay, socket, [socket, response] {
        socket->write(response);
        socket->disconnectFromHost();
    });
}

QByteArray AnswerFile(const char* name) {
    QFile file(QStringLiteral(LOOKUP_ANSWERS_DIR "/") + QString::fromUtf8(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
