// SPDX-License-Identifier: GPL-3.0-or-later
// The AccurateRip database's answer for a disc, and what it says of a track as it was read.
//
// The answer file repeats one block per pressing of the disc: the track count (1 byte), the disc's
// three identities (4 bytes each, little-endian), then per track its confidence (1 byte: how many
// people's reads agreed), its checksum and the checksum of its frame 450 (4 bytes each). An answer
// is taken only whole and only when every block names this disc.
#pragma once

#include "cdaudio/AccurateRipDisc.h"
#include "cdaudio/TrackChecksums.h"

#include <QByteArrayView>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct AccurateRipEntry {
    uint8_t confidence = 0;
    uint32_t checksum = 0;
    uint32_t frame450 = 0;
};

// One pressing: an entry per audio track, in track order.
using AccurateRipPressing = std::vector<AccurateRipEntry>;

struct AccurateRipAnswer {
    std::vector<AccurateRipPressing> pressings;
    std::string refused; // why the answer was not taken (in English, to translate); empty if it was
};

AccurateRipAnswer ParseAccurateRipAnswer(QByteArrayView bytes, const AccurateRipDisc& disc);

// What the database says of one track read: verified by `confidence` other reads of a pressing
// whose checksum (v1 or v2) is the read's; else, the checksum differs from `otherReads` reads.
// An entry of confidence 0 or checksum 0 never counts.
struct AccurateRipVerdict {
    bool verified = false;
    int confidence = 0; // of the best pressing that agrees
    int otherReads = 0; // of the pressings that do not, when none agrees
};

// `track`: the track's place among the disc's audio tracks, from 0.
AccurateRipVerdict VerifyTrack(const AccurateRipAnswer& answer, size_t track,
                               const TrackChecksums& read);
