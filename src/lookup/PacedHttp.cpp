// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/PacedHttp.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {

constexpr int kServiceUnavailable = 503;

QString HostKey(const QUrl& url) {
    return url.host() + QLatin1Char(':') + QString::number(url.port());
}

// The wait a 503 answer asks for in seconds ("Retry-After: 5"); dates are not honoured.
std::chrono::milliseconds RetryAfter(const QNetworkReply* reply) {
    bool ok = false;
    const int seconds = reply->rawHeader("Retry-After").trimmed().toInt(&ok);
    return ok && seconds > 0 ? std::chrono::seconds(seconds) : std::chrono::milliseconds(0);
}

} // namespace

PacedHttp::PacedHttp(LookupTiming timingToUse, QObject* parent)
    : QObject(parent), timing(timingToUse) {
    network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QByteArray PacedHttp::UserAgent() {
    return QByteArrayLiteral("Vamble/" VAMBLE_VERSION " ( " VAMBLE_CONTACT_URL " )");
}

void PacedHttp::Get(const QUrl& url, const QByteArray& accept, qint64 maxBytes,
                    std::function<void(const HttpAnswer&)> done) {
    Schedule({.url = url, .accept = accept, .maxBytes = maxBytes, .done = std::move(done)},
             QDeadlineTimer(0, Qt::PreciseTimer));
}

void PacedHttp::Schedule(Request request, QDeadlineTimer earliest) {
    QDeadlineTimer& turn = nextTurn[HostKey(request.url)];
    const QDeadlineTimer start = std::max(turn, earliest);
    // Precise timers: a coarse one may fire a little early, and the turns would come too close.
    const qint64 wait = std::max<qint64>(start.remainingTime(), 0);
    turn = QDeadlineTimer(wait + timing.interval.count(), Qt::PreciseTimer);
    QTimer::singleShot(
        std::chrono::milliseconds(wait), Qt::PreciseTimer, this,
        [this, request = std::move(request)]() mutable { Send(std::move(request)); });
}

void PacedHttp::Send(Request request) {
    QNetworkRequest http(request.url);
    http.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
    http.setRawHeader("Accept", request.accept);
    http.setTransferTimeout(static_cast<int>(timing.timeout.count()));
    QNetworkReply* reply = network.get(http);
    auto ended = std::make_shared<Ended>(Ended::No);
    const auto end = [reply, ended](Ended why) {
        if (*ended == Ended::No) {
            *ended = why;
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::downloadProgress, this,
            [end, limit = request.maxBytes](qint64 received, qint64) {
                if (received > limit) {
                    end(Ended::TooLarge);
                }
            });
    // The transfer timeout counts only silence; this counts the whole request.
    QTimer::singleShot(timing.deadline, reply, [end] { end(Ended::TooSlow); });
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, ended, request = std::move(request)]() mutable {
                Finish(reply, std::move(request), *ended);
            });
}

void PacedHttp::Finish(QNetworkReply* reply, Request request, Ended ended) {
    reply->deleteLater();
    HttpAnswer answer;
    answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (ended == Ended::TooLarge) {
        answer = {.status = 0, .body = {}, .failure = tr("sent too much")};
    } else if (ended == Ended::TooSlow) {
        answer = {.status = 0, .body = {}, .failure = tr("is too slow to answer")};
    } else if (answer.status == 0) {
        const bool timedOut = reply->error() == QNetworkReply::OperationCanceledError ||
                              reply->error() == QNetworkReply::TimeoutError;
        answer.failure = timedOut ? tr("did not answer in time")
                                  : tr("could not be reached (%1)").arg(reply->errorString());
    } else {
        answer.body = reply->readAll();
    }
    if (answer.status == kServiceUnavailable && !request.retried) {
        request.retried = true;
        const auto wait =
            std::min(std::max(RetryAfter(reply), timing.interval), timing.longestRetryWait);
        Schedule(std::move(request), QDeadlineTimer(wait.count(), Qt::PreciseTimer));
        return;
    }
    request.done(answer);
}
