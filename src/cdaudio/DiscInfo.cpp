// SPDX-License-Identifier: GPL-3.0-or-later
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

kit::Message DiscInfo::ToMessage() const {
    kit::Message message;
    message.Add("leadOut", leadOut);
    message.Add("Title", title);
    message.Add("Performer", performer);
    for (const DiscTrack& track : tracks) {
        kit::Message entry;
        entry.Add("number", track.number);
        entry.Add("firstSector", track.firstSector);
        entry.Add("sectors", track.sectors);
        entry.Add("audio", track.audio);
        entry.Add("Title", track.title);
        entry.Add("Performer", track.performer);
        message.Add("track", entry);
    }
    return message;
}

std::optional<DiscInfo> DiscInfo::From(const kit::Message& message) {
    DiscInfo disc;
    if (message.Find("leadOut", &disc.leadOut) != kit::B_OK ||
        message.Find("Title", &disc.title) != kit::B_OK ||
        message.Find("Performer", &disc.performer) != kit::B_OK) {
        return std::nullopt;
    }
    kit::Message entry;
    for (int32_t i = 0; message.Find("track", i, &entry) == kit::B_OK; ++i) {
        DiscTrack track;
        if (entry.Find("number", &track.number) != kit::B_OK ||
            entry.Find("firstSector", &track.firstSector) != kit::B_OK ||
            entry.Find("sectors", &track.sectors) != kit::B_OK ||
            entry.Find("audio", &track.audio) != kit::B_OK ||
            entry.Find("Title", &track.title) != kit::B_OK ||
            entry.Find("Performer", &track.performer) != kit::B_OK) {
            return std::nullopt;
        }
        disc.tracks.push_back(std::move(track));
    }
    return disc;
}
