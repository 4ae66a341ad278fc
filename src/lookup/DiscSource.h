// SPDX-License-Identifier: GPL-3.0-or-later
// What a disc look-up starts from: the table of contents of the disc's audio session and its
// CD-Text, of the disc and of each track. The rows read from one disc share one of these, so the
// disc can be looked up again later.
#pragma once

#include "lookup/DiscNames.h"
#include "lookup/DiscToc.h"

#include <optional>

struct DiscInfo;

struct DiscSource {
    DiscToc toc;
    ReleaseNames
        cdText; // the album, performer and each track's title and performer; empty when none

    // The place on the disc (from 1) of the track with this number.
    [[nodiscard]] int32_t Position(int32_t track) const { return track - toc.firstTrack + 1; }
};

// The look-up's view of a disc a drive described: its audio tracks in a row (a data track before
// them, on a mixed-mode disc, is left out; one after them, on an enhanced CD, ends them). None
// for a disc without audio tracks.
std::optional<DiscSource> DiscSourceOf(const DiscInfo& disc);
