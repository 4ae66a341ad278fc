// SPDX-License-Identifier: GPL-3.0-or-later
// The disc look-up over the network (see DiscLookupService.h for what it does), paced as the
// services ask.
#pragma once

#include "lookup/DiscLookupService.h"
#include "lookup/PacedHttp.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The services' base addresses: the public ones, or those of VAMBLE_MUSICBRAINZ_URL,
// VAMBLE_COVERART_URL and VAMBLE_GNUDB_URL when set (mirrors, tests).
struct LookupServices {
    QUrl musicBrainz;
    QUrl coverArt;
    QUrl gnudb;
    static LookupServices FromEnvironment();
};

class DiscLookup : public QObject, public DiscLookupService {
    Q_OBJECT

public:
    DiscLookup(LookupServices services, LookupSettings settings, LookupTiming timing = {},
               QObject* parent = nullptr);
    ~DiscLookup() override;
    DiscLookup(const DiscLookup&) = delete;
    DiscLookup& operator=(const DiscLookup&) = delete;

    void SetSettings(LookupSettings settings) override;
    void LookUp(const DiscLookupRequest& request,
                std::function<void(const DiscLookupAnswer&)> done) override;
    void FetchFrontCover(const ReleaseNames& release,
                         std::function<void(const CoverArt&)> done) override;
    void RememberChoice(const std::string& discId, const std::string& releaseId) override;

signals:
    // The keeping thread has read a kept answer; queued to this object's thread.
    void KeptAnswerRead(quint64 read);

private:
    class Chain;
    using KeptRead = std::function<void(const std::optional<QByteArray>&)>;

    // Where a disc's answer of this name is kept: <cache>/lookup/<disc ID>/<name>. Nothing for a
    // disc ID that is not one: the path is made of checked values only.
    [[nodiscard]] std::optional<std::filesystem::path> KeptPath(const std::string& discId,
                                                                const std::string& name) const;
    // Answers are kept in memory at once, and written to and read from the cache folder on a
    // thread of their own: the cache may be slow, and its files are checked (the folders real
    // folders of this user, the file a regular file of at most `maxBytes`) before they are read.
    // `done` is called on this object's thread, with nothing when no such answer is kept. Writing
    // may fail (a full disk, a read-only cache); the answer is used all the same.
    void ReadKept(const std::string& discId, const std::string& name, qint64 maxBytes,
                  KeptRead done);
    // Gives a read's bytes, handed over by the keeping thread, to whoever waits for them.
    void FinishRead(quint64 read);
    void Keep(const std::string& discId, const std::string& name, const QByteArray& bytes);
    void DownloadFrontCover(const ReleaseNames& release,
                            const std::function<void(const CoverArt&)>& done);

    LookupServices services;
    LookupSettings settings;
    PacedHttp http;
    std::map<std::filesystem::path, QByteArray> kept;
    // Reads of kept answers under way: who waits for each (on this object's thread), and what
    // the keeping thread has read.
    quint64 nextRead = 0;
    std::map<quint64, KeptRead> readsWaiting;
    std::mutex readsMutex;
    std::map<quint64, std::optional<QByteArray>> readsDone;
    QThreadPool keeping; // waits for the writes when destroyed
};
