// SPDX-License-Identifier: GPL-3.0-or-later
// The disc look-up as the program sees it: plain values and one interface, free of the network
// and disc-ID libraries. Those live in a module of their own, loaded when a disc first wants
// names (lookup/LookupModule.h), so that a start without a CD never loads them.
//
// The look-up asks in turn:
//   1. MusicBrainz by the disc's ID (its answer kept per disc ID under the cache folder, so a
//      disc is asked about once); several releases may hold the disc, and the user chooses;
//   2. the disc's own CD-Text, when it names its tracks;
//   3. gnudb by the disc's CDDB ID, once the user has given the e-mail address it requires;
// and otherwise finds nothing, so the rows keep the names they have. The front cover of a
// MusicBrainz release comes from the Cover Art Archive. All network work is asynchronous on the
// calling thread's event loop.
#pragma once

#include "lookup/DiscNames.h"
#include "lookup/DiscSource.h"

#include <QByteArray>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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
    // Several only from MusicBrainz; none when nothing was found.
    std::vector<ReleaseNames> releases;
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

class DiscLookupService {
public:
    virtual ~DiscLookupService() = default;

    virtual void SetSettings(LookupSettings settings) = 0;

    // Looks a disc up; `done` is called once on this object's thread, never after its
    // destruction. Look-ups of several discs may run at once.
    virtual void LookUp(const DiscLookupRequest& request,
                        std::function<void(const DiscLookupAnswer&)> done) = 0;

    // The release's front image in its 500-pixel version (kept beside the disc's answer).
    virtual void FetchFrontCover(const ReleaseNames& release,
                                 std::function<void(const CoverArt&)> done) = 0;

    // Keeps the user's choice among the releases of a disc (a release ID, or kNoRelease), so
    // that choosing the disc again does not ask again.
    virtual void RememberChoice(const std::string& discId, const std::string& releaseId) = 0;
};
