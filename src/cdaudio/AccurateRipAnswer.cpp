// SPDX-License-Identifier: GPL-3.0-or-later
#include "cdaudio/AccurateRipAnswer.h"

#include <QtGlobal>
#include <algorithm>

namespace {

constexpr qsizetype kBlockHead = 13;
constexpr qsizetype kEntrySize = 9;
// Far more pressings than the database holds for any disc; an answer of more is no answer.
constexpr qsizetype kMostPressings = 1000;

uint32_t LittleEndian32(QByteArrayView bytes, qsizetype at) {
    uint32_t value = 0;
    for (qsizetype i = 3; i >= 0; --i) {
        value = value << 8U | static_cast<uint8_t>(bytes[at + i]);
    }
    return value;
}

} // namespace

AccurateRipAnswer ParseAccurateRipAnswer(QByteArrayView bytes, const AccurateRipDisc& disc) {
    AccurateRipAnswer answer;
    const qsizetype blockSize = kBlockHead + kEntrySize * disc.audioTracks;
    if (bytes.isEmpty() || disc.audioTracks <= 0 || bytes.size() % blockSize != 0 ||
        bytes.size() / blockSize > kMostPressings) {
        answer.refused =
            QT_TRANSLATE_NOOP("AccurateRip", "its size does not fit the disc's tracks");
        return answer;
    }
    for (qsizetype at = 0; at < bytes.size(); at += blockSize) {
        if (static_cast<uint8_t>(bytes[at]) != disc.audioTracks ||
            LittleEndian32(bytes, at + 1) != disc.id1 ||
            LittleEndian32(bytes, at + 5) != disc.id2 ||
            LittleEndian32(bytes, at + 9) != disc.freedb) {
            answer.pressings.clear();
            answer.refused = QT_TRANSLATE_NOOP("AccurateRip", "it names another disc");
            return answer;
        }
        AccurateRipPressing pressing;
        for (qsizetype entry = at + kBlockHead; entry < at + blockSize; entry += kEntrySize) {
            pressing.push_back({static_cast<uint8_t>(bytes[entry]),
                                LittleEndian32(bytes, entry + 1),
                                LittleEndian32(bytes, entry + 5)});
        }
        answer.pressings.push_back(std::move(pressing));
    }
    return answer;
}

AccurateRipVerdict VerifyTrack(const AccurateRipAnswer& answer, size_t track,
                               const TrackChecksums& read) {
    AccurateRipVerdict verdict;
    for (const AccurateRipPressing& pressing : answer.pressings) {
        if (track >= pressing.size()) {
            continue;
        }
        const AccurateRipEntry& entry = pressing[track];
        if (entry.confidence == 0 || entry.checksum == 0) {
            continue;
        }
        if (entry.checksum == read.accurateRipV1 || entry.checksum == read.accurateRipV2) {
            verdict.verified = true;
            verdict.confidence = std::max<int>(verdict.confidence, entry.confidence);
        } else {
            verdict.otherReads += entry.confidence;
        }
    }
    if (verdict.verified) {
        verdict.otherReads = 0;
    }
    return verdict;
}
