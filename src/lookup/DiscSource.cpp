// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/DiscSource.h"

#include "cdaudio/DiscInfo.h"

#include <algorithm>

namespace {

// The sectors before a disc's first track, which disc IDs count in its addresses.
constexpr int32_t kLeadIn = 150;
// The gap an enhanced CD leaves between its audio session and the data track after it (the
// lead-out and lead-in of the two sessions), which the audio session's lead-out lies before.
constexpr int32_t kSessionGap = 11400;

} // namespace

std::optional<DiscSource> DiscSourceOf(const DiscInfo& disc) {
    const auto firstAudio = std::find_if(disc.tracks.begin(), disc.tracks.end(),
                                         [](const DiscTrack& track) { return track.audio; });
    if (firstAudio == disc.tracks.end()) {
        return std::nullopt;
    }
    DiscSource source;
    source.toc.firstTrack = firstAudio->number;
    source.cdText.title = disc.title;
    source.cdText.artist = disc.performer;
    auto track = firstAudio;
    for (; track != disc.tracks.end() && track->audio; ++track) {
        source.toc.trackOffsets.push_back(track->firstSector + kLeadIn);
        source.cdText.tracks.push_back(
            {source.Position(track->number), track->title, track->performer, {}, {}, {}, {}});
    }
    source.toc.leadOut = track != disc.tracks.end() ? track->firstSector + kLeadIn - kSessionGap
                                                    : disc.leadOut + kLeadIn;
    source.cdText.trackCount = static_cast<int32_t>(source.cdText.tracks.size());
    return source;
}
