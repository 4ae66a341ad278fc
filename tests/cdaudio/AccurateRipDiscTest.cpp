// SPDX-License-Identifier: GPL-3.0-or-later
// A disc's AccurateRip identities and answer path against those another ripper's code (whipper,
// Debian package whipper) computes for the same table of contents: a plain audio CD, an enhanced
// CD (a data track after the audio) and a mixed-mode disc (a data track first).
#include "cdaudio/AccurateRipDisc.h"

#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

namespace {

// The path whipper computes for the tracks (number, first sector, audio) and the lead-out.
std::string WhipperPath(const DiscInfo& disc) {
    QString tracks;
    for (const DiscTrack& track : disc.tracks) {
        tracks += QStringLiteral("(%1,%2,%3),")
                      .arg(track.number)
                      .arg(track.firstSector)
                      .arg(track.audio ? QStringLiteral("True") : QStringLiteral("False"));
    }
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"), QStringLiteral("from whipper.image import table\n"
                                              "t = table.Table()\n"
                                              "for number, start, audio in [%1]:\n"
                                              "    track = table.Track(number, audio=audio)\n"
                                              "    track.index(1, absolute=start)\n"
                                              "    t.tracks.append(track)\n"
                                              "t.leadout = %2\n"
                                              "print(t.accuraterip_path())\n")
                                   .arg(tracks)
                                   .arg(disc.leadOut)});
    EXPECT_TRUE(python.waitForFinished(60000));
    return python.readAllStandardOutput().trimmed().toStdString();
}

DiscInfo Disc(std::initializer_list<std::pair<int32_t, bool>> starts, int32_t leadOut) {
    DiscInfo disc;
    int32_t number = 1;
    for (const auto& [start, audio] : starts) {
        disc.tracks.push_back({number++, start, 0, audio, {}, {}});
    }
    disc.leadOut = leadOut;
    return disc;
}

TEST(AccurateRipDisc, IdentitiesAsAnotherRipperComputesThem) {
    QProcess probe;
    probe.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-c"), QStringLiteral("import whipper.image.table")});
    if (!probe.waitForFinished(60000) || probe.exitCode() != 0) {
        GTEST_SKIP() << "whipper is not installed; scripts/install-deps test does it";
    }
    const struct {
        const char* what;
        DiscInfo disc;
    } cases[] = {
        {"an audio CD", Disc({{0, true}, {15301, true}, {33012, true}, {60890, true}}, 248432)},
        {"an enhanced CD", Disc({{0, true}, {20000, true}, {56400, false}}, 98000)},
        {"a mixed-mode disc", Disc({{0, false}, {30000, true}, {51111, true}}, 90000)},
        {"one track", Disc({{32, true}}, 17000)},
    };
    for (const auto& c : cases) {
        const std::optional<AccurateRipDisc> ids = AccurateRipDiscOf(c.disc);
        ASSERT_TRUE(ids) << c.what;
        EXPECT_EQ(ids->Path(), WhipperPath(c.disc)) << c.what;
    }
    const struct {
        const char* what;
        DiscInfo disc;
    } impossible[] = {
        {"no audio track", Disc({{0, false}}, 9000)},
        {"a track past the lead-out", Disc({{0, true}, {9000, true}}, 9000)},
        {"a track before the start", Disc({{-150, true}}, 9000)},
        {"a lead-out beyond any CD", Disc({{0, true}, {2147483000, true}}, 2147483600)},
    };
    for (const auto& c : impossible) {
        EXPECT_FALSE(AccurateRipDiscOf(c.disc)) << c.what;
    }
}

} // namespace
