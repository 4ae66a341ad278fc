// SPDX-License-Identifier: GPL-3.0-or-later
// What a disc look-up knows of a row beyond its ID3v1 fields: the texts at their full length, the
// album artist, the disc's place in its release, the MusicBrainz identifiers under the names other
// taggers use, and the release's front cover. The row keeps the texts at their full length as it
// keeps any text found for it; the release's own frames and cover go into the file's tag only while
// the row's album is still the release's, and the track's identifiers while its title is the
// track's, so a value the user changed by hand wins.
#pragma once

#include "lookup/DiscNames.h"
#include "tagging/CoverPicture.h"
#include "tagging/ID3v2Extras.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ReleaseTags {
    std::string title;  // the track's title
    std::string artist; // the track's artist credit
    std::string album;  // the release's title
    std::string albumArtist;
    int32_t discNumber = 0;   // 0: not known
    int32_t discCount = 0;    // 0: not known
    int32_t trackCount = 0;   // the disc's tracks; 0: not known
    std::string media;        // the disc's medium as MusicBrainz names it ("CD")
    std::string originalDate; // the first release of any version: "1997-05-21", "1997" or empty

    // MusicBrainz identifiers; empty when not known.
    std::string recordingId; // written as the UFID "http://musicbrainz.org"
    std::string releaseTrackId;
    std::string isrc; // the recording's
    std::vector<std::string> artistIds;
    std::vector<std::string> albumArtistIds;
    std::string releaseId;
    std::string releaseGroupId;
    std::string discId;
    std::string releaseCountry;
    std::vector<std::string> labels;
    std::vector<std::string> catalogNumbers;
    std::string barcode;

    std::optional<CoverPicture> frontCover; // the release's, from the Cover Art Archive
    bool frontCoverComing = false;          // asked for and not answered yet

    [[nodiscard]] bool Empty() const { return album.empty() && title.empty() && artist.empty(); }
    bool operator==(const ReleaseTags&) const = default;
};

// The tags of the track at a place of a release: its own title and artist credit (the release's
// artist where it has none), the release's names and identifiers. `track` may be null (a release
// that does not name the track).
ReleaseTags ReleaseTagsFor(const ReleaseNames& release, const TrackNames* track);

// The tags as far as a row still holds them, given its title and album at their full length:
// none of the release's while the album is another, and none of the track's own identifiers while
// the title is another.
ReleaseTags ReleaseTagsHeld(const ReleaseTags& release, const std::string& fullTitle,
                            const std::string& fullAlbum);

// The release's identifiers and numbers that go into TXXX frames, under the names other taggers
// give them; the empty ones left out. The year of the first release goes in as "originalyear"
// too, where players that know no TORY or TDOR look for it.
std::vector<UserText> ReleaseUserTexts(const ReleaseTags& release);
