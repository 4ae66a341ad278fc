// Finds the names of an audio disc without typing, asking in turn:
//   1. MusicBrainz by the disc's ID (its answer kept per disc ID under the cache folder, so a
//      disc is asked about once); several releases may hold the disc, and the user chooses;
//   2. the disc's own CD-Text, when it names its tracks;
//   3. gnudb by the disc's CDDB ID, once the user has given the e-mail address it requires;
// and otherwise finds nothing, so the rows keep the names they have. The front cover of a
// MusicBrainz release comes from the Cover Art Archive.
//
// All network work is asynchronous on the calling thread's event loop; answers are values.
#pragma once

#include "lookup/DiscNames.h"
#include "lookup/DiscSource.h"
#include "lookup/PacedHttp.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <functional>
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

struct LookupSettings {
    bool online = true;                // ask the services at all
    std::string gnudbEmail;            // gnudb is asked only with one
    std::filesystem::path cacheFolder; // answers are kept under <cacheFolder>/lookup/<disc ID>/
};

struct DiscLookupRequest {
    DiscSource disc;
    bool refresh = false; // ask the services again even when an answer is kept
};

struct DiscLookupAnswer {
    std::string discId; // the MusicBrainz disc ID; empty for a table of contents without one
    NameSource source = NameSource::None;
    std::vector<ReleaseNames>
        releases; // several only from MusicBrainz; none when nothing was found
    // The release the user chose among several before ("" when none was chosen yet, or
    // kNoRelease for "None of these").
    std::string chosenReleaseId;
    QString status; // one line for the status area: where the names came from, or what happened
};

// The choice remembered for "None of these".
inline constexpr std::string_view kNoRelease = "none";

struct CoverArt {
    QByteArray image; // JPEG or PNG; empty when there is none
    QString mimeType; // "image/jpeg" or "image/png"
    QString failure;  // why there is none; empty when the release has no front image
};

class DiscLookup : public QObject {
    Q_OBJECT

public:
    DiscLookup(LookupServices services, LookupSettings settings, LookupTiming timing = {},
               QObject* parent = nullptr);
    ~DiscLookup() override;
    DiscLookup(const DiscLookup&) = delete;
    DiscLookup& operator=(const DiscLookup&) = delete;

    void SetSettings(LookupSettings settings);

    // Looks a disc up; `done` is called once on this object's thread, never after its
    // destruction. Look-ups of several discs may run at once.
    void LookUp(const DiscLookupRequest& request,
                std::function<void(const DiscLookupAnswer&)> done);

    // The release's front image in its 500-pixel version (kept beside the disc's answer).
    void FetchFrontCover(const ReleaseNames& release, std::function<void(const CoverArt&)> done);

    // Keeps the user's choice among the releases of a disc (a release ID, or kNoRelease), so that
    // choosing the disc again does not ask again.
    void RememberChoice(const std::string& discId, const std::string& releaseId) const;

private:
    class Chain;
    std::filesystem::path AnswerFolder(const std::string& discId) const;

    LookupServices services;
    LookupSettings settings;
    PacedHttp http;
};
