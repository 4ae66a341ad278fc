// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the reader of the AccurateRip database's answers, for a disc of as many
// tracks as the first byte says. It may not read out of bounds; an answer is either refused or
// taken whole, each pressing with an entry for every track of the disc.
#include "cdaudio/AccurateRipAnswer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const AccurateRipDisc disc{data[0] % 100, 0x00013880, 0x00035b61, 0x1a032002};
    const AccurateRipAnswer answer = ParseAccurateRipAnswer(
        QByteArrayView(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)),
        disc);
    if (answer.refused.empty() == answer.pressings.empty()) {
        std::abort();
    }
    for (const AccurateRipPressing& pressing : answer.pressings) {
        if (pressing.size() != static_cast<size_t>(disc.audioTracks)) {
            std::abort();
        }
        const AccurateRipVerdict verdict = VerifyTrack(answer, pressing.size() - 1, {1, 2, 3});
        if (verdict.verified && verdict.otherReads != 0) {
            std::abort();
        }
    }
    return 0;
}
