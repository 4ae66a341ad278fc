// SPDX-License-Identifier: GPL-3.0-or-later
// A small HTTP/1.1 server on 127.0.0.1 for the look-up tests: it serves recorded answers by path
// and notes every request it receives.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QUrl>
#include <chrono>
#include <map>
#include <vector>

struct RecordedAnswer {
    int status = 200;
    QByteArray body;
    QByteArray contentType = "application/json";
    std::vector<std::pair<QByteArray, QByteArray>> headers;
    std::chrono::milliseconds delay{0}; // before the answer is sent
    std::chrono::milliseconds drip{0};  // when set, the answer is sent a byte at a time this apart
};

struct SeenRequest {
    QByteArray target; // path and query, as sent
    QByteArray userAgent;
    qint64 atMs = 0; // since the server started
};

class LoopbackServer : public QObject {
public:
    LoopbackServer();
    [[nodiscard]] QUrl Url() const;

    // Answers requests whose path begins with `path` (the longest such path wins) with these
    // answers in turn; the last one repeats. Unknown paths get a 404.
    void Serve(const QByteArray& path, std::vector<RecordedAnswer> answers);
    [[nodiscard]] const std::vector<SeenRequest>& Requests() const { return requests; }
    [[nodiscard]] std::vector<SeenRequest> RequestsTo(const QByteArray& path) const;

private:
    void Answer(QTcpSocket* socket, const QByteArray& head);

    QTcpServer server;
    QElapsedTimer clock;
    std::map<QByteArray, std::vector<RecordedAnswer>> routes;
    std::map<QByteArray, size_t> served;
    std::vector<SeenRequest> requests;
};

// A recorded answer read from tests/lookup/answers.
QByteArray AnswerFile(const char* name);
