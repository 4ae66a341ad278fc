// Feeds arbitrary bytes to the reader of MusicBrainz's disc answers. It must never crash; a
// malformed answer gives no release, and every track it gives has a place on its disc.
#include "lookup/MusicBrainzAnswer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const MusicBrainzAnswer answer = ParseMusicBrainzDisc(json, "ohhlX44vA82K1SAvWfO52oJ_ZxQ-");
    if (answer.malformed && !answer.releases.empty()) {
        std::abort();
    }
    for (const ReleaseNames& release : answer.releases) {
        for (const TrackNames& track : release.tracks) {
            if (track.position <= 0) {
                std::abort();
            }
        }
    }
    return 0;
}
