// SPDX-License-Identifier: GPL-3.0-or-later
// A WAV file's own tags as other programs write them (ffmpeg's INFO list, mutagen's and TagLib's
// id3 chunks, an old Latin-1 INFO list), and damaged chunks that must not pass as tags.
#include "tagging/WavTags.h"

#include "TagReaders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/wavfile.h>

namespace {

const std::string kLongTitle =
    "Ünïcödé title far longer than the thirty bytes of an ID3v1 field, with 日本語 in it";

QByteArray LittleEndian32(uint32_t value) {
    QByteArray bytes;
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xff);
    }
    return bytes;
}

QByteArray Chunk(const char* id, const QByteArray& body) {
    return id + LittleEndian32(static_cast<uint32_t>(body.size())) + body +
           (body.size() % 2 != 0 ? QByteArray(1, '\0') : QByteArray());
}

class WavTagsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"sox", "ffmpeg"}) {
            if (!HaveProgram(QString::fromLatin1(program))) {
                GTEST_SKIP() << program << " is not installed; scripts/install-deps test does it";
            }
        }
        if (!HaveMutagen()) {
            GTEST_SKIP() << "python3-mutagen is not installed for /usr/bin/python3";
        }
        ::Run(QStringLiteral("sox"),
              QStringLiteral("-q -n -r 8000 -c 1 -b 16 %1 synth 0.1 sine 440")
                  .arg(Path("plain.wav"))
                  .split(u' '));
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // The plain file's chunks behind its "RIFF" header and "WAVE", each whole.
    QByteArray PlainChunks() const { return FileBytes(Path("plain.wav")).mid(12); }

    QString WriteRiff(const char* name, const QByteArray& chunks) const {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF" + LittleEndian32(static_cast<uint32_t>(chunks.size() + 4)) + "WAVE" +
                   chunks);
        return file.fileName();
    }

    static WavTagsRead Read(const QString& path) {
        return ReadWavTags(std::filesystem::path(QFile::encodeName(path).toStdString()));
    }

    QTemporaryDir dir;
};

TEST_F(WavTagsTest, ReadsTheTagsOtherProgramsWrite) {
    const QString ffmpeg = Path("ffmpeg.wav");
    ::Run(QStringLiteral("ffmpeg"),
          {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-i"),
           Path("plain.wav"), QStringLiteral("-metadata"),
           QStringLiteral("title=") + QString::fromStdString(kLongTitle),
           QStringLiteral("-metadata"), QStringLiteral("artist=Björk"), QStringLiteral("-metadata"),
           QStringLiteral("album=Homogenic"), QStringLiteral("-metadata"),
           QStringLiteral("date=1997-09-22"), QStringLiteral("-metadata"),
           QStringLiteral("track=3/10"), QStringLiteral("-metadata"), QStringLiteral("genre=Rock"),
           QStringLiteral("-metadata"), QStringLiteral("comment=from ffmpeg"), ffmpeg});

    const QString mutagen = Path("mutagen.wav");
    QFile::copy(Path("plain.wav"), mutagen);
    ::Run(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"(
import sys
from mutagen.wave import WAVE
from mutagen.id3 import TIT2, TPE1, TDRC, TRCK, TCON
f = WAVE(sys.argv[1]); f.add_tags()
f.tags.add(TIT2(encoding=3, text=sys.argv[2])); f.tags.add(TPE1(encoding=1, text='Artist Ω'))
f.tags.add(TDRC(encoding=3, text='2001')); f.tags.add(TRCK(encoding=3, text='5/12'))
f.tags.add(TCON(encoding=3, text='(40)'))
f.save()
)"),
                                               mutagen, QString::fromStdString(kLongTitle)});

    // TagLib writes both an "ID3 " chunk and an INFO list; the ID3v2 values come first.
    const QString taglib = Path("taglib.wav");
    QFile::copy(Path("plain.wav"), taglib);
    {
        TagLib::RIFF::WAV::File file(QFile::encodeName(taglib).constData());
        file.ID3v2Tag()->setTitle("ID3 title");
        file.InfoTag()->setTitle("INFO title");
        file.InfoTag()->setAlbum("INFO album");
        file.InfoTag()->setFieldText("ITRK", "7");
        ASSERT_TRUE(file.save());
    }

    const QString latin1 = WriteRiff(
        "latin1.wav", PlainChunks() + Chunk("LIST", "INFO" +
                                                        Chunk("INAM", "Caf\xe9 \xfc"
                                                                      "ber") +
                                                        Chunk("IART", QByteArray("Artist\0\0", 8)) +
                                                        Chunk("IGNR", "Jazz-Funk")));

    struct Case {
        QString path;
        FoundTags expected;
    };
    const Case cases[] = {
        {ffmpeg, {kLongTitle, "Björk", "Homogenic", "1997", "from ffmpeg", "Rock", 3, 10}},
        {mutagen, {kLongTitle, "Artist Ω", "", "2001", "", "Alt. Rock", 5, 12}},
        {taglib, {"ID3 title", "", "INFO album", "", "", "", 7, 0}},
        {latin1, {"Café über", "Artist", "", "", "", "Jazz+Funk", -1, 0}},
        {Path("plain.wav"), {}},
    };
    for (const Case& c : cases) {
        const WavTagsRead read = Read(c.path);
        const FoundTags& tags = read.tags;
        const FoundTags& expected = c.expected;
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(read.damage, "");
        EXPECT_EQ(tags.title, expected.title);
        EXPECT_EQ(tags.artist, expected.artist);
        EXPECT_EQ(tags.album, expected.album);
        EXPECT_EQ(tags.year, expected.year);
        EXPECT_EQ(tags.comment, expected.comment);
        EXPECT_EQ(tags.genre, expected.genre);
        EXPECT_EQ(tags.track, expected.track);
        EXPECT_EQ(tags.trackCount, expected.trackCount);
    }
}

TEST_F(WavTagsTest, DamagedTagChunksGiveNoTagsButSayWhy) {
    const QByteArray info = "INFO" + Chunk("INAM", "Title");
    const QByteArray id3 =
        Chunk("id3 ", QByteArray("ID3\x03\x00\x00\x00\x00\x7f\x7f", 10) + Chunk("TIT2", "\0Title"));
    const QByteArray plain = PlainChunks();
    QByteArray pastTheEnd = Chunk("LIST", info);
    pastTheEnd.replace(4, 4, LittleEndian32(100000));
    QByteArray brokenEntry = Chunk("LIST", info);
    brokenEntry.replace(16, 4, LittleEndian32(5000)); // the INAM size
    const std::pair<const char*, QByteArray> damaged[] = {
        {"list-past-end.wav", plain + pastTheEnd},
        {"broken-info-entry.wav", plain + brokenEntry},
        {"id3-past-its-chunk.wav", plain + id3},
        {"id3-no-tag.wav", plain + Chunk("id3 ", QByteArray(20, 'x'))},
    };
    for (const auto& [name, chunks] : damaged) {
        const WavTagsRead read = Read(WriteRiff(name, chunks));
        EXPECT_NE(read.damage, "") << name;
        EXPECT_TRUE(read.tags.Empty()) << name;
    }

    // A recording cut off inside its data chunk keeps the tags before it.
    QByteArray cutOff = Chunk("LIST", info) + plain;
    cutOff.chop(100);
    const WavTagsRead read = Read(WriteRiff("cut-off.wav", cutOff));
    EXPECT_EQ(read.damage, "");
    EXPECT_EQ(read.tags.title, "Title");
}

TEST_F(WavTagsTest, TagChunksLargerThanTheirLimitAreNotRead) {
    // Files of a few kilobytes on disk that say a tag chunk of 4 GB follows (sparse files).
    const QByteArray info = "INFO" + Chunk("INAM", "Title");
    const QByteArray id3 = QByteArray("ID3\x03\x00\x00\x7f\x7f\x7f\x7f", 10);
    const std::pair<const char*, QByteArray> huge[] = {
        {"huge-info.wav", "LIST" + LittleEndian32(0xFFFF0000U) + info},
        {"huge-id3.wav", "id3 " + LittleEndian32(0xFFFF0000U) + id3},
    };
    rusage before{};
    ::getrusage(RUSAGE_SELF, &before);
    for (const auto& [name, chunk] : huge) {
        const QString path = WriteRiff(name, PlainChunks() + chunk);
        ASSERT_TRUE(QFile::resize(path, QFile(path).size() + 0xFFFF0000LL - chunk.size() + 8));
        const WavTagsRead read = Read(path);
        EXPECT_NE(read.damage, "") << name;
        EXPECT_TRUE(read.tags.Empty()) << name;
    }
    rusage after{};
    ::getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes more at the peak";
}

TEST_F(WavTagsTest, TextsAreCleanedOfControlAndDirectionCharacters) {
    const WavTagsRead read = Read(WriteRiff(
        "controls.wav",
        PlainChunks() + Chunk("LIST", "INFO" + Chunk("INAM", "Line\nbreak\x01 "
                                                             "photo\xE2\x80\xAEgpj.exe"))));
    EXPECT_EQ(read.damage, "");
    EXPECT_EQ(read.tags.title, "Line break photogpj.exe");
}

} // namespace
