// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/AccurateRipDisc.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int32_t kSectorsPerSecond = 75;
// The two seconds before the first track, which CDDB counts and the table of contents does not.
constexpr int32_t kLeadIn = 2 * kSectorsPerSecond;
constexpr size_t kMostTracks = 99;
// Beyond 100 minutes of audio: no CD holds more.
constexpr int32_t kLastSector = 100 * 60 * kSectorsPerSecond;

int32_t DigitSum(int32_t number) {
    int32_t sum = 0;
    for (; number > 0; number /= 10) {
        sum += number % 10;
    }
    return sum;
}

} // namespace

std::string AccurateRipDisc::Path() const {
    char path[64];
    const char* digits = "0123456789abcdef";
    std::snprintf(path, sizeof path, "%c/%c/%c/dBAR-%03d-%08x-%08x-%08x.bin", digits[id1 & 0xfU],
                  digits[(id1 >> 4U) & 0xfU], digits[(id1 >> 8U) & 0xfU], audioTracks, id1, id2,
                  freedb);
    return path;
}

std::optional<AccurateRipDisc> AccurateRipDiscOf(const DiscInfo& disc) {
    // A table no disc can have (a drive's or a disc image's, either may lie): no tracks, a track
    // before the start or past the lead-out, more than 99 tracks, a lead-out beyond any CD.
    const bool possible =
        !disc.tracks.empty() && disc.tracks.size() <= kMostTracks && disc.leadOut > 0 &&
        disc.leadOut <= kLastSector &&
        std::all_of(disc.tracks.begin(), disc.tracks.end(), [&disc](const DiscTrack& track) {
            return track.number > 0 && track.number <= static_cast<int32_t>(kMostTracks) &&
                   track.firstSector >= 0 && track.firstSector < disc.leadOut;
        });
    if (!possible) {
        return std::nullopt;
    }
    AccurateRipDisc ids;
    uint32_t digitSums = 0;
    for (const DiscTrack& track : disc.tracks) {
        digitSums +=
            static_cast<uint32_t>(DigitSum((track.firstSector + kLeadIn) / kSectorsPerSecond));
        if (!track.audio) {
            continue;
        }
        ++ids.audioTracks;
        const auto first = static_cast<uint32_t>(track.firstSector);
        ids.id1 += first;
        ids.id2 += (first == 0 ? 1U : first) * static_cast<uint32_t>(track.number);
    }
    if (ids.audioTracks == 0) {
        return std::nullopt;
    }
    const auto leadOut = static_cast<uint32_t>(disc.leadOut);
    ids.id1 += leadOut;
    ids.id2 += leadOut * static_cast<uint32_t>(ids.audioTracks + 1);
    const int32_t seconds =
        disc.leadOut / kSectorsPerSecond - disc.tracks.front().firstSector / kSectorsPerSecond;
    ids.freedb = (digitSums % 0xffU) << 24U | static_cast<uint32_t>(seconds) << 8U |
                 static_cast<uint32_t>(disc.tracks.size());
    return ids;
}
