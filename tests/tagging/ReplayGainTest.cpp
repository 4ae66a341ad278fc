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

    // A WAV file of `seconds` of what sox's synth makes from `effect`, at `gainDb`.
    std::filesystem::path Sox(const char* name, int channels, const QString& effect, int gainDb,
                              int seconds = 10) const {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ::Run(QStringLiteral("sox"),
              QStringLiteral("-q -n -r 48000 -c %1 -b 24 %2 synth %3 %4 gain %5")
                  .arg(channels)
                  .arg(path)
                  .arg(seconds)
                  .arg(effect)
                  .arg(gainDb)
                  .split(u' '));
        return QFile::encodeName(path).toStdString();
    }

    QTemporaryDir dir;
};

Loudness Measured(AlbumLoudnessMeter& meter, const std::filesystem::path& file) {
    const auto result = meter.AddTrack(file);
    if (const auto* why = std::get_if<std::string>(&result)) {
        ADD_FAILURE() << file << ": " << *why;
        return {};
    }
    return std::get<Loudness>(result);
}

TEST_F(ReplayGainTest, SinesMeasureTheirKnownLoudness) {
    AlbumLoudnessMeter meter;
    // EBU Tech 3341: a 1 kHz sine at -23 dBFS in both channels is -23.0 LUFS. A mono file is
    // played on both speakers, so it measures the same.
    const Loudness stereo = Measured(meter, Sox("stereo.wav", 2, QStringLiteral("sine 1000"), -23));
    const Loudness mono = Measured(meter, Sox("mono.wav", 1, QStringLiteral("sine 1000"), -23));
    for (const Loudness& loudness : {stereo, mono}) {
        EXPECT_NEAR(loudness.integrated, -23.0, 0.1);
        EXPECT_NEAR(loudness.peak, std::pow(10.0, -23.0 / 20), 0.001);
        EXPECT_NEAR(ReplayGainDb(loudness), 5.0, 0.1);
    }
}

TEST_F(ReplayGainTest, AnAlbumIsMeasuredOverAllOfItsAudio) {
    AlbumLoudnessMeter meter;
    EXPECT_FALSE(meter.Album());
    const Loudness loud = Measured(meter, Sox("loud.wav", 2, QStringLiteral("sine 1000"), -23));
    const Loudness quiet = Measured(meter, Sox("quiet.wav", 2, QStringLiteral("sine 1000"), -33));
    EXPECT_NEAR(quiet.integrated, -33.0, 0.1);
    // Equal lengths 10 LU apart: the mean of their powers, 10·log10((1 + 0.1) / 2) below the loud.
    const std::optional<Loudness> album = meter.Album();
    ASSERT_TRUE(album);
    EXPECT_NEAR(album->integrated, -23.0 + 10 * std::log10(0.55), 0.1);
    EXPECT_DOUBLE_EQ(album->peak, loud.peak);

    // Gains as players read them: "<dB with two decimals> dB"; peaks as plain numbers.
    const std::vector<UserText> texts = ReplayGainTexts(quiet, album);
    const std::pair<const char*, double> expected[] = {{"REPLAYGAIN_TRACK_GAIN", 15.0},
                                                       {"REPLAYGAIN_TRACK_PEAK", quiet.peak},
                                                       {"REPLAYGAIN_ALBUM_GAIN", 7.6},
                                                       {"REPLAYGAIN_ALBUM_PEAK", loud.peak}};
    ASSERT_EQ(texts.size(), std::size(expected));
    for (size_t i = 0; i < texts.size(); ++i) {
        const QString value = QString::fromStdString(texts[i].value);
        EXPECT_EQ(texts[i].description, expected[i].first);
        EXPECT_TRUE(value.contains(
            QRegularExpression(i % 2 == 0 ? QStringLiteral("^-?[0-9]+[.][0-9]{2} dB$")
                                          : QStringLiteral("^[0-9][.][0-9]{6}$"))))
            << texts[i].value;
        EXPECT_NEAR(value.section(u' ', 0, 0).toDouble(), expected[i].second, 0.1);
    }
    EXPECT_EQ(ReplayGainTexts(quiet, std::nullopt).size(), 2U);
}

TEST_F(ReplayGainTest, SilenceAndUnreadableFilesHaveNoLoudnessAndLeaveTheAlbumAlone) {
    AlbumLoudnessMeter meter;
    const auto silent = meter.AddTrack(Sox("silent.wav", 2, QStringLiteral("sine 1000"), -200));
    EXPECT_TRUE(std::holds_alternative<std::string>(silent));
    QFile text(dir.filePath(QStringLiteral("text.wav")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a sound");
    text.close();
    EXPECT_TRUE(std::holds_alternative<std::string>(
        meter.AddTrack(QFile::encodeName(text.fileName()).toStdString())));
    EXPECT_FALSE(meter.Album());

    Measured(meter, Sox("sound.wav", 2, QStringLiteral("sine 1000"), -23));
    ASSERT_TRUE(meter.Album());
    EXPECT_NEAR(meter.Album()->integrated, -23.0, 0.1);
}

} // namespace
