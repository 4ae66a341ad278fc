// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/TrackChecksums.h"

#include <zlib.h>

namespace {

constexpr uint64_t kEdgeSamples = 5 * TrackChecksummer::kSamplesPerSector;

uint32_t LittleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8U |
           static_cast<uint32_t>(bytes[2]) << 16U | static_cast<uint32_t>(bytes[3]) << 24U;
}

} // namespace

TrackChecksummer::TrackChecksummer(uint64_t samples, bool first, bool last)
    : countFrom(first ? kEdgeSamples : 1),
      // A last track shorter than 5 sectors (no CD holds one: a track lasts 4 seconds at least)
      // is counted whole, as the reference tool does.
      countTo(last && samples >= kEdgeSamples ? samples - kEdgeSamples : samples),
      crc(static_cast<uint32_t>(crc32(0L, Z_NULL, 0))) {}

void TrackChecksummer::Add(std::span<const uint8_t> pcm) {
    crc = static_cast<uint32_t>(crc32(crc, pcm.data(), static_cast<uInt>(pcm.size())));
    size_t at = 0;
    while (partialBytes > 0 && partialBytes < sizeof partial && at < pcm.size()) {
        partial[partialBytes++] = pcm[at++];
        if (partialBytes == sizeof partial) {
            AddSample(LittleEndian32(partial));
            partialBytes = 0;
        }
    }
    for (; at + sizeof partial <= pcm.size(); at += sizeof partial) {
        AddSample(LittleEndian32(pcm.data() + at));
    }
    for (; at < pcm.size(); ++at) {
        partial[partialBytes++] = pcm[at];
    }
}

void TrackChecksummer::AddSample(uint32_t sample) {
    ++position;
    if (position < countFrom || position > countTo) {
        return;
    }
    // Left in the low half, right in the high half: the sample as 32 bits, times its place.
    const uint64_t product = static_cast<uint64_t>(sample) * (position & 0xffffffffU);
    v1 += static_cast<uint32_t>(product);
    v2 += static_cast<uint32_t>(product) + static_cast<uint32_t>(product >> 32U);
}

TrackChecksums TrackChecksummer::Result() const {
    return {v1, v2, crc};
}
