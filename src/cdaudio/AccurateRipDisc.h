// SPDX-License-Identifier: GPL-3.0-or-later
// How the AccurateRip database knows a disc: three identities computed from its table of contents,
// and the path of the database's answer file for them.
#pragma once

#include "cdaudio/DiscInfo.h"

#include <cstdint>
#include <optional>
#include <string>

struct AccurateRipDisc {
    int32_t audioTracks = 0;
    // The sum of the audio tracks' first sectors and the disc's lead-out.
    uint32_t id1 = 0;
    // The same sectors each weighted by its track's number (a track at sector 0 counts as 1),
    // the lead-out by the number of audio tracks plus one.
    uint32_t id2 = 0;
    // The freedb (CDDB) identity over every track, data tracks among them.
    uint32_t freedb = 0;

    // "a/b/c/dBAR-NNN-ID1-ID2-FREEDB.bin", where a, b, c are the last three hexadecimal digits of
    // ID1 from the last: the answer file below the database's address.
    [[nodiscard]] std::string Path() const;
};

// Data tracks add nothing to the first two identities, but the lead-out is the disc's, behind a
// data track too (an enhanced CD's). None for a disc without audio tracks, and for a table no
// disc can have.
std::optional<AccurateRipDisc> AccurateRipDiscOf(const DiscInfo& disc);
