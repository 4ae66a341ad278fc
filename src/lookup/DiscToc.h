// SPDX-License-Identifier: GPL-3.0-or-later
// The table of contents of an audio disc as the disc-ID algorithms and the CDDB protocol take it:
// sector addresses counted from the very start of the disc, so the first track of a disc without a
// hidden pregap starts at sector 150 (the two-second lead-in).
#pragma once

#include <cstdint>
#include <vector>

struct DiscToc {
    int32_t firstTrack = 1;            // the number of the first audio track
    std::vector<int32_t> trackOffsets; // the first sector of each audio track, in track order
    int32_t leadOut = 0;               // the first sector after the last audio track

    [[nodiscard]] int32_t LastTrack() const {
        return firstTrack + static_cast<int32_t>(trackOffsets.size()) - 1;
    }
    bool operator==(const DiscToc&) const = default;
};
