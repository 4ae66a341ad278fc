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
    tags.label = release.label;
    tags.catalogNumber = release.catalogNumber;
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

namespace {

// Several identifiers in one ID3v2.3 text, as other taggers join them.
std::string Joined(const std::vector<std::string>& ids) {
    std::string joined;
    for (const std::string& id : ids) {
        joined += (joined.empty() ? "" : "/") + id;
    }
    return joined;
}

} // namespace

std::vector<UserText> ReleaseUserTexts(const ReleaseTags& release) {
    const std::pair<const char*, std::string> named[] = {
        {"MusicBrainz Album Id", release.releaseId},
        {"MusicBrainz Artist Id", Joined(release.artistIds)},
        {"MusicBrainz Album Artist Id", Joined(release.albumArtistIds)},
        {"MusicBrainz Release Group Id", release.releaseGroupId},
        {"MusicBrainz Release Track Id", release.releaseTrackId},
        {"MusicBrainz Disc Id", release.discId},
        {"MusicBrainz Album Release Country", release.releaseCountry},
        {"CATALOGNUMBER", release.catalogNumber},
        {"BARCODE", release.barcode},
    };
    std::vector<UserText> texts;
    for (const auto& [description, value] : named) {
        if (!value.empty()) {
            texts.push_back({description, value});
        }
    }
    return texts;
}
