// SPDX-License-Identifier: GPL-3.0-or-later
// HTTP GET requests to the look-up services as they ask to be used: at most one request per
// interval to each host (later requests wait their turn), a User-Agent naming the program, its
// version and a contact address, a time limit on a request that receives nothing and one on the
// whole request (an answer that drips in a byte at a time ends too), and an answer of "503
// Service Unavailable" (the rate limit) waited for and asked once more.
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <map>

struct LookupTiming {
    std::chrono::milliseconds interval{1000}; // between two requests to one host
    std::chrono::milliseconds timeout{20000}; // a request that receives nothing this long fails
    std::chrono::milliseconds longestRetryWait{30000}; // the longest "Retry-After" waited for
    std::chrono::milliseconds deadline{60000};         // a request not answered whole by then fails
};

struct HttpAnswer {
    int status = 0;  // the HTTP status; 0 when no answer came
    QByteArray body; // also for a refusal, such as a 404
    QString failure; // why no answer came (no connection, no answer in time, too slow, too large)
};

class PacedHttp : public QObject {
    Q_OBJECT

public:
    explicit PacedHttp(LookupTiming timing, QObject* parent = nullptr);

    // Asks for `url`; `done` is called once on this object's thread, never after its destruction.
    // An answer longer than `maxBytes` is cut off and counts as a failure.
    void Get(const QUrl& url, const QByteArray& accept, qint64 maxBytes,
             std::function<void(const HttpAnswer&)> done);

    // "Vamble/<version> ( <contact address> )"
    static QByteArray UserAgent();

private:
    struct Request {
        QUrl url;
        QByteArray accept;
        qint64 maxBytes = 0;
        std::function<void(const HttpAnswer&)> done;
        bool retried = false;
    };

    // Sends the request when its host's turn comes, no sooner than `earliest`.
    void Schedule(Request request, QDeadlineTimer earliest);
    void Send(Request request);
    // Why a request was ended before its answer was whole.
    enum class Ended { No, TooLarge, TooSlow };
    void Finish(QNetworkReply* reply, Request request, Ended ended);

    LookupTiming timing;
    QNetworkAccessManager network;
    std::map<QString, QDeadlineTimer> nextTurn; // per host and port
};
