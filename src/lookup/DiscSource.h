// What a disc tells of itself that a look-up starts from: its table of contents and its CD-Text.
// The rows read from one disc share one of these, so the disc can be looked up again later.
#pragma once

#include "lookup/DiscNames.h"
#include "lookup/DiscToc.h"

struct DiscSource {
    DiscToc toc;
    ReleaseNames
        cdText; // the album, performer and each track's title and performer; empty when none

    // The place on the disc (from 1) of the track with this number.
    [[nodiscard]] int32_t Position(int32_t track) const { return track - toc.firstTrack + 1; }
};
