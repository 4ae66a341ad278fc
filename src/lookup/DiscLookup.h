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

private:
    class Chain;
    std::filesystem::path AnswerFolder(const std::string& discId) const;
    // Answers are kept in memory at once and written to the cache folder on a thread of their
    // own: the file is flushed to disk, which may take a while on the window's thread. Writing
    // may fail (a full disk, a read-only cache); the answer is used all the same.
    std::optional<QByteArray> ReadKept(const std::filesystem::path& path) const;
    void Keep(const std::filesystem::path& path, const QByteArray& bytes);

    LookupServices services;
    LookupSettings settings;
    PacedHttp http;
    std::map<std::filesystem::path, QByteArray> kept;
    QThreadPool keeping; // waits for the writes when destroyed
};
