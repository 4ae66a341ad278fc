// What a disc look-up knows of a row beyond its ID3v1 fields: the texts at their full length, the
// album artist, the disc's place in its release, the MusicBrainz identifiers under the names other
// taggers use, and the release's front cover. The ID3v2 writer uses each text only while cutting
// it to the row's field still gives that field, so a value the user changed by hand wins, and the
// release's own frames only while the album is still the release's.
#pragma once

#include "lookup/DiscNames.h"

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

struct ReleaseTags {
    std::string title;  // the track's title
    std::string artist; // the track's artist credit
    std::string album;  // the release's title
    std::string albumArtist;
    int32_t discNumber = 0; // 0: not known
    int32_t discCount = 0;  // 0: not known

    // MusicBrainz identifiers; empty when not known.
    std::string recordingId; // written as the UFID "http://musicbrainz.org"
    std::string releaseTrackId;
    std::vector<std::string> artistIds;
    std::vector<std::string> albumArtistIds;
    std::string releaseId;
    std::string releaseGroupId;
    std::string discId;
    std::string releaseCountry;
    std::string label;
    std::string catalogNumber;
    std::string barcode;

    QByteArray frontCover;     // JPEG or PNG; empty for none
    std::string coverMimeType; // "image/jpeg" or "image/png"

    [[nodiscard]] bool Empty() const { return album.empty() && title.empty() && artist.empty(); }
};

// The tags of the track at a place of a release: its own title and artist credit (the release's
// artist where it has none), the release's names and identifiers. `track` may be null (a release
// that does not name the track).
ReleaseTags ReleaseTagsFor(const ReleaseNames& release, const TrackNames* track);
