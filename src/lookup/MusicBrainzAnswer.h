// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the MusicBrainz web service's answer to a disc-ID look-up
// (/ws/2/discid/<id>?inc=recordings+artist-credits+labels+release-groups+isrcs, as JSON) into the
// releases that hold the disc.
#pragma once

#include "lookup/DiscNames.h"
#include "lookup/MusicBrainzIds.h"

#include <QByteArray>
#include <string>
#include <string_view>
#include <vector>

struct MusicBrainzAnswer {
    std::vector<ReleaseNames> releases;
    // The answer is not the JSON the service sends, or an identifier in it is not a MusicBrainz
    // identifier: such an answer gives no release.
    bool malformed = false;
};

// Each release gets the tracks of its medium that holds the disc `discId` (the first medium when
// none names it), that medium's place as its disc number, and the release's number of media as the
// disc count. Its texts are cleaned of control and direction characters; tracks whose place is not
// 1 to 99 are left out.
MusicBrainzAnswer ParseMusicBrainzDisc(const QByteArray& json, std::string_view discId);
