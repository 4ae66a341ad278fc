// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the reader of MusicBrainz's disc answers. It must never crash; a
// malformed answer gives no release; every release it gives has a MusicBrainz ID (the only part
// of the answer that names a file or a path of a service), every track a place on its disc, and
// every name is free of control and direction characters.
#include "kit/OutsideText.h"
#include "lookup/MusicBrainzAnswer.h"

#include <cstdlib>

namespace {

bool Clean(const std::string& text) {
    return kit::CleanOutsideText(text) == text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const MusicBrainzAnswer answer = ParseMusicBrainzDisc(json, "ohhlX44vA82K1SAvWfO52oJ_ZxQ-");
    if (answer.malformed && !answer.releases.empty()) {
        std::abort();
    }
    for (const ReleaseNames& release : answer.releases) {
        if (!IsMusicBrainzId(release.releaseId) || !Clean(release.title) ||
            !Clean(release.artist)) {
            std::abort();
        }
        for (const TrackNames& track : release.tracks) {
            if (track.position <= 0 || track.position > 99 || !Clean(track.title) ||
                !Clean(track.artist)) {
                std::abort();
            }
        }
    }
    return 0;
}
