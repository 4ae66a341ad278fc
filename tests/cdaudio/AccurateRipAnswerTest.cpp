// SPDX-License-Identifier: GPL-3.0-or-later
// The database's answer for a disc: several pressings, answers that do not fit refused, and what
// it says of a track read.
#include "cdaudio/AccurateRipAnswer.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

const AccurateRipDisc kDisc{2, 0x00013880, 0x00035b61, 0x1a032002};

QByteArray Le32(uint32_t value) {
    QByteArray bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xffU);
    }
    return bytes;
}

// A block of the disc's identities with an entry per track: confidence and checksum.
QByteArray Pressing(std::initializer_list<std::pair<uint8_t, uint32_t>> entries,
                    const AccurateRipDisc& disc = kDisc) {
    QByteArray block(1, static_cast<char>(entries.size()));
    block += Le32(disc.id1) + Le32(disc.id2) + Le32(disc.freedb);
    for (const auto& [confidence, checksum] : entries) {
        block += static_cast<char>(confidence) + Le32(checksum) + Le32(0x12345678);
    }
    return block;
}

TEST(AccurateRipAnswer, SeveralPressingsAndWhatTheySayOfATrack) {
    const QByteArray bytes = Pressing({{5, 0x1111}, {7, 0x2222}}) +
                             Pressing({{12, 0xaaaa}, {0, 0xbbbb}}) +
                             Pressing({{3, 0xcccc}, {9, 0}});
    const AccurateRipAnswer answer = ParseAccurateRipAnswer(bytes, kDisc);
    ASSERT_EQ(answer.refused, "");
    ASSERT_EQ(answer.pressings.size(), 3U);
    EXPECT_EQ(answer.pressings[1][0].confidence, 12);
    EXPECT_EQ(answer.pressings[0][1].frame450, 0x12345678U);

    const struct {
        const char* what;
        size_t track;
        TrackChecksums read;
        AccurateRipVerdict expected;
    } cases[] = {
        {"v1 of a pressing", 0, {0xaaaa, 0x9999, 0}, {true, 12, 0}},
        {"v2 of a pressing", 0, {0x9999, 0x1111, 0}, {true, 5, 0}},
        {"no pressing agrees", 0, {0x9999, 0x8888, 0}, {false, 0, 5 + 12 + 3}},
        {"confidence 0 never counts", 1, {0xbbbb, 0x8888, 0}, {false, 0, 7}},
        {"checksum 0 never counts", 1, {0, 0, 0}, {false, 0, 7}},
        {"a track the answer does not have", 5, {0x1111, 0x1111, 0}, {false, 0, 0}},
    };
    for (const auto& c : cases) {
        const AccurateRipVerdict verdict = VerifyTrack(answer, c.track, c.read);
        EXPECT_EQ(verdict.verified, c.expected.verified) << c.what;
        EXPECT_EQ(verdict.confidence, c.expected.confidence) << c.what;
        EXPECT_EQ(verdict.otherReads, c.expected.otherReads) << c.what;
    }
}

TEST(AccurateRipAnswer, AnAnswerThatDoesNotFitIsRefused) {
    const QByteArray good = Pressing({{5, 0x1111}, {7, 0x2222}});
    AccurateRipDisc other = kDisc;
    other.id2 += 1;
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"empty", {}},
        {"truncated", good.left(good.size() - 1)},
        {"another disc's identities", good + Pressing({{1, 1}, {1, 1}}, other)},
        {"another track count", Pressing({{5, 0x1111}, {7, 0x2222}, {1, 3}}) + good.left(4)},
        {"more pressings than any disc has", good.repeated(1001)},
    };
    for (const auto& c : cases) {
        const AccurateRipAnswer answer = ParseAccurateRipAnswer(c.bytes, kDisc);
        EXPECT_FALSE(answer.refused.empty()) << c.what;
        EXPECT_TRUE(answer.pressings.empty()) << c.what;
    }
}

} // namespace
