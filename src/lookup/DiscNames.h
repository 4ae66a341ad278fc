// SPDX-License-Identifier: GPL-3.0-or-later
// The names a look-up finds for a disc, whichever source they come from: one release (an issue of
// an album, as MusicBrainz counts them) with its tracks. Sources that know less leave fields empty.
// Plain values, free of the look-up's libraries, so that the rows and the window can hold them.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

// Where the names of a disc came from.
enum class NameSource { None, MusicBrainz, CdText, Gnudb };

struct TrackNames {
    int32_t position = 0; // the track's place on the disc, from 1
    std::string title;
    std::string artist;                 // the track's artist credit as it is shown
    std::vector<std::string> artistIds; // MusicBrainz artists of that credit
    std::string recordingId;            // MusicBrainz recording
    std::string trackId;                // MusicBrainz track of this release
    std::string isrc;                   // the recording's first ISRC, such as "GBAYE0400123"
    bool operator==(const TrackNames&) const = default;
};

// The year a MusicBrainz date ("1997-05-21", "1997-05", "1997") begins with; empty when it begins
// with none.
inline std::string LeadingYear(const std::string& date) {
    constexpr size_t kYearLength = 4;
    const bool year = date.size() >= kYearLength &&
                      std::all_of(date.begin(), date.begin() + kYearLength,
                                  [](unsigned char c) { return std::isdigit(c) != 0; });
    return year ? date.substr(0, kYearLength) : std::string();
}

struct ReleaseNames {
    std::string title;                       // the album
    std::string disambiguation;              // what tells it from releases of the same title
    std::string artist;                      // the album artist credit as it is shown
    std::vector<std::string> artistIds;      // MusicBrainz artists of that credit
    std::string date;                        // "1997-05-21", "1997-05", "1997" or empty
    std::string originalDate;                // the release group's first release, in the same form
    std::string country;                     // ISO 3166 code, or a MusicBrainz region such as "XW"
    std::vector<std::string> labels;         // every label of the release, each once
    std::vector<std::string> catalogNumbers; // every catalogue number, each once
    std::string barcode;
    int32_t trackCount = 0;
    int32_t discNumber = 0; // the disc's place among the release's discs, 0 when unknown
    int32_t discCount = 0;  // how many discs the release has, 0 when unknown
    std::string format;     // the disc's medium as MusicBrainz names it ("CD", "Enhanced CD")
    std::string releaseId;
    std::string releaseGroupId;
    std::string discId;        // the MusicBrainz disc ID the release was found by
    bool noFrontCover = false; // the Cover Art Archive says it holds no front image
    std::vector<TrackNames> tracks;

    // The year of the date, when it begins with one.
    [[nodiscard]] std::string Year() const { return LeadingYear(date); }
    // The names of the track at a place on the disc (from 1); null when there are none.
    [[nodiscard]] const TrackNames* Track(int32_t position) const {
        const auto found =
            std::find_if(tracks.begin(), tracks.end(),
                         [position](const TrackNames& t) { return t.position == position; });
        return found == tracks.end() ? nullptr : &*found;
    }
    bool operator==(const ReleaseNames&) const = default;
};
