// SPDX-License-Identifier: GPL-3.0-or-later
// Loudness of signals made by sox against the values EBU R128 gives them.
#include "tagging/ReplayGain.h"

#include "TagReaders.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

class ReplayGainTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveProgram(QStringLiteral("sox"))) {
            GTEST_SKIP() << "sox is not installed; scripts/install-deps test does it";
        }
    }

    // A WAV file of ten seconds of a 1 kHz sine made by sox, with `channels`, at `gainDb`.
    std::filesystem::path Sine(const char* name, int channels, int gainDb) const {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ::Run(QStringLiteral("sox"),
              QStringLiteral("-q -n -r 48000 -c %1 -b 24 %2 synth 10 sine 1000 gain %3")
                  .arg(channels)
                  .arg(path)
                  .arg(gainDb)
                  .split(u' '));
        return QFile::encodeName(path).toStdString();
    }

    // Measures the files as one album; each track's result lands in `tracks`.
    static std::optional<Loudness> Album(const std::vector<std::filesystem::path>& files,
                                         std::vector<TrackLoudness>& tracks) {
        tracks.assign(files.size(), TrackLoudness{std::nullopt, "not told"});
        return MeasureAlbum(files,
                            [&](std::size_t i, const TrackLoudness& track) { tracks[i] = track; });
    }

    QTemporaryDir dir;
};

TEST_F(ReplayGainTest, SinesMeasureTheirKnownLoudnessAndAnAlbumAllOfItsAudio) {
    // EBU Tech 3341: a 1 kHz sine at -23 dBFS in both channels is -23.0 LUFS. A mono file is
    // played on both speakers, so it measures the same.
    std::vector<TrackLoudness> tracks;
    const std::optional<Loudness> album = Album(
        {Sine("stereo.wav", 2, -23), Sine("mono.wav", 1, -23), Sine("quiet.wav", 2, -33)}, tracks);
    for (const TrackLoudness& track : tracks) {
        ASSERT_TRUE(track.loudness) << track.error;
    }
    for (const TrackLoudness& track : {tracks[0], tracks[1]}) {
        EXPECT_NEAR(track.loudness->integrated, -23.0, 0.1);
        EXPECT_NEAR(track.loudness->peak, std::pow(10.0, -23.0 / 20), 0.001);
        EXPECT_NEAR(ReplayGainDb(*track.loudness), 5.0, 0.1);
    }
    const Loudness quiet = *tracks[2].loudness;
    EXPECT_NEAR(quiet.integrated, -33.0, 0.1);
    // Equal lengths, two at -23 and one 10 LU below: the mean of their powers.
    ASSERT_TRUE(album);
    EXPECT_NEAR(album->integrated, -23.0 + 10 * std::log10(2.1 / 3), 0.1);
    EXPECT_DOUBLE_EQ(album->peak, tracks[0].loudness->peak);

    // Gains as players read them: "<dB with two decimals> dB"; peaks as plain numbers.
    const std::vector<UserText> texts = ReplayGainTexts(quiet, album);
    const std::pair<const char*, double> expected[] = {{"REPLAYGAIN_TRACK_GAIN", 15.0},
                                                       {"REPLAYGAIN_TRACK_PEAK", quiet.peak},
                                                       {"REPLAYGAIN_ALBUM_GAIN", 6.55},
                                                       {"REPLAYGAIN_ALBUM_PEAK", album->peak}};
    ASSERT_EQ(texts.size(), std::size(expected) + 1);
    EXPECT_EQ(texts.back().description, "REPLAYGAIN_REFERENCE_LOUDNESS");
    EXPECT_EQ(texts.back().values.at(0), "-18.00 LUFS");
    for (size_t i = 0; i < std::size(expected); ++i) {
        const QString value = QString::fromStdString(texts[i].values.at(0));
        EXPECT_EQ(texts[i].description, expected[i].first);
        EXPECT_TRUE(value.contains(
            QRegularExpression(i % 2 == 0 ? QStringLiteral("^-?[0-9]+[.][0-9]{2} dB$")
                                          : QStringLiteral("^[0-9][.][0-9]{6}$"))))
            << texts[i].values.at(0);
        EXPECT_NEAR(value.section(u' ', 0, 0).toDouble(), expected[i].second, 0.1);
    }
    EXPECT_EQ(ReplayGainTexts(quiet, std::nullopt).size(), 3U);
}

TEST_F(ReplayGainTest, SilenceAndUnreadableFilesHaveNoLoudnessAndLeaveTheAlbumToTheRest) {
    QFile text(dir.filePath(QStringLiteral("text.wav")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a sound");
    text.close();
    const std::filesystem::path silent = Sine("silent.wav", 2, -200);
    const std::filesystem::path unreadable = QFile::encodeName(text.fileName()).toStdString();
    std::vector<TrackLoudness> tracks;
    EXPECT_FALSE(Album({silent, unreadable}, tracks));
    EXPECT_FALSE(tracks[0].loudness);
    EXPECT_EQ(tracks[0].error, "");
    EXPECT_FALSE(tracks[1].loudness);
    EXPECT_NE(tracks[1].error, "");

    const std::optional<Loudness> album = Album({silent, Sine("sound.wav", 2, -23)}, tracks);
    ASSERT_TRUE(album);
    EXPECT_NEAR(album->integrated, -23.0, 0.1);
}

} // namespace
