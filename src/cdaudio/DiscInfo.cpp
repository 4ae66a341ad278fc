#include "cdaudio/DiscInfo.h"

#include "cdaudio/AudioCd.h"

#include <algorithm>

bool DiscInfo::HasAudio() const {
    return std::any_of(tracks.begin(), tracks.end(), [](const DiscTrack& t) { return t.audio; });
}

std::string DiscInfo::Label() const {
    if (title.empty()) {
        return std::string(kUnnamedCdLabel);
    }
    return performer.empty() ? title : performer + " - " + title;
}

ArtistAlbum DiscInfo::Tags() const {
    return {performer, title.empty() ? std::string(kUnnamedCdLabel) : title};
}

std::string DiscInfo::TocText() const {
    std::string toc;
    for (const DiscTrack& track : tracks) {
        toc += std::to_string(track.number) + ':' + std::to_string(track.firstSector) +
               (track.audio ? "a " : "d ");
    }
    return toc + std::to_string(leadOut);
}
