// SPDX-License-Identifier: GPL-3.0-or-later
// The checksums of an audio CD track as it was read, computed while it is read (no second pass):
// the AccurateRip checksums (v1 and v2) that other people's reads of the same pressing are
// compared with, and a plain CRC32 of the audio for the rip log.
#pragma once

#include <cstdint>
#include <span>

struct TrackChecksums {
    uint32_t accurateRipV1 = 0;
    uint32_t accurateRipV2 = 0;
    uint32_t crc32 = 0;
    bool operator==(const TrackChecksums&) const = default;
};

class TrackChecksummer {
public:
    // A CD sector holds 588 stereo samples.
    static constexpr uint64_t kSamplesPerSector = 588;

    // `samples`: the track's length in stereo samples; `first` and `last`: whether it is the
    // disc's first or last audio track, whose edges AccurateRip leaves out (drives read them
    // least alike): the first 5 sectors less one sample of the first track, the last 5 sectors
    // of the last.
    TrackChecksummer(uint64_t samples, bool first, bool last);

    // Takes the next bytes of the track's audio: 16-bit little-endian stereo samples, in pieces
    // of any length (a sample may be split between two pieces).
    void Add(std::span<const uint8_t> pcm);

    [[nodiscard]] TrackChecksums Result() const;

private:
    void AddSample(uint32_t sample);

    uint64_t position = 0; // of the last sample taken, counted from 1
    uint64_t countFrom;
    uint64_t countTo;
    uint32_t v1 = 0;
    uint32_t v2 = 0;
    uint32_t crc = 0;
    uint8_t partial[4] = {};
    size_t partialBytes = 0;
};
