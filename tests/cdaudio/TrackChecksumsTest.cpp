// SPDX-License-Identifier: GPL-3.0-or-later
// A track's checksums against the reference tool other rippers use (accuraterip-checksum, Debian
// package whipper) and zlib's CRC32, for tracks at every place on a disc, of every length that
// matters, fed in pieces that split samples.
#include "cdaudio/TrackChecksums.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

// A WAV file of the samples: 44.1 kHz, 16-bit stereo, the plain 44-byte header.
QByteArray Wav(const QByteArray& pcm) {
    const auto le32 = [](uint32_t v) {
        return QByteArray(1, char(v & 0xff)) + char((v >> 8) & 0xff) + char((v >> 16) & 0xff) +
               char((v >> 24) & 0xff);
    };
    const auto size = static_cast<uint32_t>(pcm.size());
    return "RIFF" + le32(36 + size) + "WAVEfmt " + le32(16) +
           QByteArray("\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00", 16) +
           "data" + le32(size) + pcm;
}

// `samples` stereo samples of noise from a fixed seed, or silence.
QByteArray Samples(uint32_t samples, bool silent) {
    QByteArray pcm(static_cast<qsizetype>(samples) * 4, '\0');
    uint32_t state = 12345;
    for (char& byte : pcm) {
        state = state * 1103515245U + 12345U;
        byte = silent ? '\0' : static_cast<char>(state >> 24U);
    }
    return pcm;
}

uint32_t Reference(const QString& wav, const char* version, int track, int tracks) {
    QProcess tool;
    tool.start(
        QStringLiteral("accuraterip-checksum"),
        {QString::fromLatin1(version), wav, QString::number(track), QString::number(tracks)});
    EXPECT_TRUE(tool.waitForFinished(30000));
    return tool.readAllStandardOutput().trimmed().toUInt(nullptr, 16);
}

TEST(TrackChecksums, AgreeWithTheReferenceToolAndZlib) {
    if (QStandardPaths::findExecutable(QStringLiteral("accuraterip-checksum")).isEmpty()) {
        GTEST_SKIP() << "accuraterip-checksum is not installed; scripts/install-deps test does it";
    }
    QTemporaryDir dir;
    struct Case {
        const char* what;
        uint32_t samples;
        bool silent;
        int track;
        int tracks;
    };
    const Case cases[] = {
        {"a middle track", 588 * 40 + 17, false, 2, 3},
        {"the first track", 588 * 40, false, 1, 3},
        {"the last track", 588 * 40, false, 3, 3},
        {"the only track", 588 * 40 + 3, false, 1, 1},
        {"a last track shorter than 5 sectors", 588 * 3, false, 3, 3},
        {"a first track shorter than 5 sectors", 588 * 3, false, 1, 3},
        {"silence", 588 * 20, true, 2, 3},
    };
    for (const Case& c : cases) {
        const QByteArray pcm = Samples(c.samples, c.silent);
        const QString path = dir.filePath(QStringLiteral("track.wav"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Wav(pcm));
        file.close();
        TrackChecksummer checksummer(c.samples, c.track == 1, c.track == c.tracks);
        // Pieces of 1 to 1001 bytes: samples split everywhere.
        for (qsizetype at = 0, piece = 1; at < pcm.size(); at += piece, piece = piece % 1001 + 7) {
            const qsizetype length = std::min(piece, pcm.size() - at);
            checksummer.Add({reinterpret_cast<const uint8_t*>(pcm.constData() + at),
                             static_cast<size_t>(length)});
        }
        const TrackChecksums sums = checksummer.Result();
        EXPECT_EQ(sums.accurateRipV1, Reference(path, "--accuraterip-v1", c.track, c.tracks))
            << c.what;
        EXPECT_EQ(sums.accurateRipV2, Reference(path, "--accuraterip-v2", c.track, c.tracks))
            << c.what;
        EXPECT_EQ(sums.crc32, crc32(0, reinterpret_cast<const Bytef*>(pcm.constData()),
                                    static_cast<uInt>(pcm.size())))
            << c.what;
    }
}

} // namespace
