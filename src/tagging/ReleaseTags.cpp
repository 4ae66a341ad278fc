#include "tagging/ReleaseTags.h"

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
        tags.artistIds = track->artistIds.empty() ? release.artistIds : track->artistIds;
    }
    tags.discNumber = release.discNumber;
    tags.discCount = release.discCount;
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
