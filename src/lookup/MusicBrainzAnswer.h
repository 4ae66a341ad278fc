// Reads the MusicBrainz web service's answer to a disc-ID look-up
// (/ws/2/discid/<id>?inc=recordings+artist-credits+labels+release-groups, as JSON) into the
// releases that hold the disc.
#pragma once

#include "lookup/DiscNames.h"

#include <QByteArray>
#include <string>
#include <string_view>
#include <vector>

struct MusicBrainzAnswer {
    std::vector<ReleaseNames> releases;
    bool malformed = false; // the answer is not the JSON the service sends
};

// Each release gets the tracks of its medium that holds the disc `discId` (the first medium when
// none names it), that medium's place as its disc number, and the release's number of media as the
// disc count.
MusicBrainzAnswer ParseMusicBrainzDisc(const QByteArray& json, std::string_view discId);
