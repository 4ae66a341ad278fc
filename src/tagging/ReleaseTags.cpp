// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ReleaseTags.h"

#include <utility>

ReleaseTags ReleaseTagsFor(const ReleaseNames& release, const TrackNames* track) {
    ReleaseTags tags;
    tags.album = release.title;
    tags.albumArtist = release.artist;
    tags.artist = release.artist;
    if (track != nullptr) {
        tags.title = track->title;
        if (!track->artist.empty()) {
            tags.artist = track->artist;
        }
        tags.recordingId = track->recordingId;
        tags.releaseTrackId = track->trackId;
        tags.isrc = track->isrc;
        tags.artistIds = track->artistIds.empty() ? release.artistIds : track->artistIds;
    }
    tags.discNumber = release.discNumber;
    tags.discCount = release.discCount;
    tags.trackCount = release.trackCount;
    tags.media = release.format;
    tags.originalDate = release.originalDate;
    tags.albumArtistIds = release.artistIds;
    tags.releaseId = release.releaseId;
    tags.releaseGroupId = release.releaseGroupId;
    // The disc ID names a MusicBrainz disc; it belongs with a MusicBrainz release only.
    tags.discId = release.releaseId.empty() ? std::string() : release.discId;
    tags.releaseCountry = release.country;
    tags.labels = release.labels;
    tags.catalogNumbers = release.catalogNumbers;
    tags.barcode = release.barcode;
    return tags;
}

ReleaseTags ReleaseTagsHeld(const ReleaseTags& release, const std::string& fullTitle,
                            const std::string& fullAlbum) {
    if (release.album.empty() || fullAlbum != release.album) {
        return {};
    }
    ReleaseTags held = release;
    if (fullTitle != release.title) {
        held.recordingId.clear();
        held.releaseTrackId.clear();
        held.isrc.clear();
        held.artistIds.clear();
    }
    return held;
}

std::vector<UserText> ReleaseUserTexts(const ReleaseTags& release) {
    const auto one = [](const std::string& value) {
        return value.empty() ? std::vector<std::string>() : std::vector<std::string>{value};
    };
    const std::pair<const char*, std::vector<std::string>> named[] = {
        {"MusicBrainz Album Id", one(release.releaseId)},
        {"MusicBrainz Artist Id", release.artistIds},
        {"MusicBrainz Album Artist Id", release.albumArtistIds},
        {"MusicBrainz Release Group Id", one(release.releaseGroupId)},
        {"MusicBrainz Release Track Id", one(release.releaseTrackId)},
        {"MusicBrainz Disc Id", one(release.discId)},
        {"MusicBrainz Album Release Country", one(release.releaseCountry)},
        {"CATALOGNUMBER", release.catalogNumbers},
        {"BARCODE", one(release.barcode)},
        {"originalyear", one(LeadingYear(release.originalDate))},
    };
    std::vector<UserText> texts;
    for (const auto& [description, values] : named) {
        if (!values.empty()) {
            texts.push_back({description, values});
        }
    }
    return texts;
}
