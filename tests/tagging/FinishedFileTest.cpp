// SPDX-License-Identifier: GPL-3.0-or-later
// Tagging a finished file where the file or its file system is not as a tag writer expects: the
// row learns what is missing, and nothing waits for ever.
#include "tagging/FinishedFile.h"

#include "TagReaders.h"
#include "tagging/ID3v2Writer.h"
#include "tagging/ReplayGain.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// While not 0, every fchown fails with this error, as on FUSE mounts of exFAT or NTFS. The test
// program's fchown takes the place of the C library's, also for the tags module it loads (the
// program exports it: see CMakeLists.txt).
int fchownError = 0;

} // namespace

extern "C" int fchown(int fd, uid_t owner, gid_t group) {
    if (fchownError != 0) {
        errno = fchownError;
        return -1;
    }
    using Fchown = int (*)(int, uid_t, gid_t);
    static const auto real = reinterpret_cast<Fchown>(::dlsym(RTLD_NEXT, "fchown"));
    return real(fd, owner, group);
}

namespace {

class FinishedFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        if (!HaveProgram(QStringLiteral("sox"))) {
            GTEST_SKIP() << "sox is not installed; scripts/install-deps test does it";
        }
        ASSERT_GT(EncodedMp3().size(), 4096);
    }
    void TearDown() override { fchownError = 0; }

    QString Write(const QString& name, const QByteArray& bytes) const {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

// A FIFO at the output path took the encoder's output as it came; reading it back for its tags
// would wait for a writer for ever.
TEST_F(FinishedFileTest, AFifoGetsNoTagsAndNothingWaitsForIt) {
    const QString fifo = dir.filePath(QStringLiteral("song.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const FinishedFile file = Finished(fifo, MakeTag("T", "", "", "", "", 0), "T", 1);
    auto tagging = std::async(std::launch::async, [&file] {
        std::string why;
        const int32_t result = WriteID3v2Tag(file, &why);
        return std::pair(result, TagFinishedFile(file));
    });
    if (tagging.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        // A reader waiting to open the FIFO is let go by a writer that opens and closes it.
        ::close(::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK));
        FAIL() << "tagging waited on the FIFO";
    }
    const auto [result, warning] = tagging.get();
    EXPECT_EQ(result, -1);
    EXPECT_NE(warning.find("not a regular file"), std::string::npos) << warning;
}

TEST_F(FinishedFileTest, SaysWhichTagsCouldNotBeWritten) {
    struct Case {
        const char* name;
        QByteArray bytes;
        bool id3v2;
        const char* missing; // in the warning; empty when there is none
    };
    const Case cases[] = {
        {"an MP3 file", EncodedMp3(), true, ""},
        {"no MPEG audio", QByteArray(4096, '\0'), true, "the ID3v2 tag: it is not MPEG audio"},
        {"no MPEG audio, ID3v2 off", QByteArray(4096, '\0'), false, ""},
        {"shorter than an ID3v1 tag", QByteArray(10, '\0'), false, "the ID3v1 tag"},
    };
    for (const Case& c : cases) {
        const QString path = Write(QStringLiteral("song.mp3"), c.bytes);
        FinishedFile file = Finished(path, MakeTag("T", "", "", "", "", 0), "T", 1);
        file.id3v2 = c.id3v2;
        const std::string warning = TagFinishedFile(file);
        if (*c.missing == '\0') {
            EXPECT_EQ(warning, "") << c.name;
        } else {
            EXPECT_NE(warning.find(c.missing), std::string::npos) << c.name << ": " << warning;
        }
    }
    const FinishedFile gone =
        Finished(dir.filePath(QStringLiteral("gone.mp3")), MakeTag("", "", "", "", "", 0), "", 1);
    EXPECT_NE(TagFinishedFile(gone).find("cannot be read"), std::string::npos);
}

// FUSE mounts of exFAT and NTFS refuse fchown even to the owner a file has; the owner is only
// given where it differs, and a file system that keeps no owners has none to keep.
TEST_F(FinishedFileTest, AFileSystemThatRefusesOwnersStillGetsTheID3v2Tag) {
    struct Case {
        int error;
        bool otherOwner; // needs root to make
    };
    for (const Case c : {Case{EPERM, false}, Case{ENOSYS, true}, Case{EOPNOTSUPP, true}}) {
        if (c.otherOwner && ::geteuid() != 0) {
            continue;
        }
        const QString path = Write(QStringLiteral("song.mp3"), EncodedMp3());
        if (c.otherOwner) {
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 4321, 4321), 0);
        }
        fchownError = c.error;
        std::string why;
        EXPECT_EQ(WriteID3v2Tag(Finished(path, MakeTag("T", "", "", "", "", 0), "T", 1), &why), 0)
            << c.error << ": " << why;
        EXPECT_TRUE(FileBytes(path).startsWith("ID3")) << c.error;
    }
}

// What the ID3v2 tag gets beyond the row's fields, read back with mutagen: the texts found for the
// row at full length, a genre name outside the table, the picture beside the WAV file and the
// ReplayGain texts; and what the row is told when the picture or the loudness cannot be had.
TEST_F(FinishedFileTest, TheID3v2TagGetsFullTextsTheCoverBesideTheWavAndTheReplayGain) {
    if (!HaveMutagen()) {
        GTEST_SKIP() << "python3-mutagen is not installed for /usr/bin/python3";
    }
    const QByteArray jpeg = QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(100, 'j');
    Write(QStringLiteral("Folder.JPG"), jpeg);
    const std::string artist = "Ärtist whose name is far longer than the thirty bytes";
    FinishedFile file = Finished(Write(QStringLiteral("song.mp3"), EncodedMp3()),
                                 MakeTag("Title", artist.c_str(), "", "", "", 0), "Title", 3);
    file.fullArtist = artist;
    file.genreGiven = false;
    file.genreName = "Synthwave";
    file.source = QFile::encodeName(dir.filePath(QStringLiteral("song.wav"))).toStdString();
    file.embedCover = true;
    file.replayGain = true;
    const RowLoudness loudness{Loudness{-23.0, 0.07}, Loudness{-25.5, 0.5}, ""};
    std::vector<std::string> missing = AddExtras(file, loudness);
    EXPECT_TRUE(missing.empty());
    EXPECT_EQ(TagFinishedFile(file, std::move(missing)), "");

    const QByteArray read = RunPython(R"(
import sys
from mutagen.id3 import ID3
tag = ID3(sys.argv[1], load_v1=False)
for p in tag.getall('APIC'):
    print('APIC', int(p.type), p.mime, p.data.hex())
for t in tag.getall('TXXX'):
    print('TXXX', t.desc, t.text[0])
print('TPE1', tag['TPE1'].text[0])
print('TCON', tag['TCON'].text[0])
)",
                                      {QFile::decodeName(file.path.c_str())});
    const QByteArray expected = "APIC 3 image/jpeg " + jpeg.toHex() + "\n" +
                                "TXXX REPLAYGAIN_TRACK_GAIN 5.00 dB\n"
                                "TXXX REPLAYGAIN_TRACK_PEAK 0.070000\n"
                                "TXXX REPLAYGAIN_ALBUM_GAIN 7.50 dB\n"
                                "TXXX REPLAYGAIN_ALBUM_PEAK 0.500000\n"
                                "TXXX REPLAYGAIN_REFERENCE_LOUDNESS -18.00 LUFS\n"
                                "TPE1 " +
                                QByteArray::fromStdString(artist) + "\n" + "TCON Synthwave\n";
    EXPECT_EQ(read, expected);

    // A picture that is none, and a loudness that was not measured: the tag is still written.
    Write(QStringLiteral("cover.png"), "text");
    file.extras = {};
    missing = AddExtras(file, std::nullopt);
    ASSERT_EQ(missing.size(), 2U);
    EXPECT_NE(missing[0].find("cover.png"), std::string::npos);
    EXPECT_NE(missing[1].find("ReplayGain"), std::string::npos);
    EXPECT_NE(TagFinishedFile(file, missing).find("cover.png"), std::string::npos);
    EXPECT_EQ(ReadID3v2WithMutagen(QFile::decodeName(file.path.c_str()))["title"], "Title");
}

// The front cover is the user's picture, else the release's, else the one beside the WAV file;
// with covers off, none.
TEST_F(FinishedFileTest, TheCoverIsTheUsersElseTheReleasesElseTheOneBesideTheWav) {
    const QByteArray beside = QByteArray("\xff\xd8\xff\xe0", 4) + "beside";
    const QByteArray own = QByteArray("\xff\xd8\xff\xe0", 4) + "own";
    Write(QStringLiteral("cover.jpg"), beside);
    const std::string ownFile =
        QFile::encodeName(Write(QStringLiteral("mine.jpg"), own)).toStdString();
    const CoverPicture released{"image/png", "released"};
    struct Case {
        bool embed;
        bool userCover;
        bool releaseCover;
        QByteArray expected; // empty: none
    };
    const Case cases[] = {
        {true, true, true, own},
        {true, false, true, released.bytes},
        {true, false, false, beside},
        {false, false, true, {}},
    };
    for (const Case& c : cases) {
        FinishedFile file = Finished(dir.filePath(QStringLiteral("song.mp3")), {}, "Title", 1);
        file.source = QFile::encodeName(dir.filePath(QStringLiteral("song.wav"))).toStdString();
        file.embedCover = c.embed;
        file.coverFile = c.userCover ? ownFile : std::string();
        if (c.releaseCover) {
            file.release.frontCover = released;
        }
        EXPECT_TRUE(AddExtras(file, std::nullopt).empty());
        EXPECT_EQ(file.extras.frontCover ? file.extras.frontCover->bytes : QByteArray(), c.expected)
            << c.embed << c.userCover << c.releaseCover;
    }
}

// A release's cover still on its way when the file was encoded: the file says it has none, unless
// a picture beside the WAV file stands in.
TEST_F(FinishedFileTest, ACoverStillComingIsToldMissing) {
    for (const bool beside : {false, true}) {
        if (beside) {
            Write(QStringLiteral("cover.jpg"), QByteArray("\xff\xd8\xff\xe0", 4) + "beside");
        }
        FinishedFile file = Finished(dir.filePath(QStringLiteral("song.mp3")), {}, "Title", 1);
        file.source = QFile::encodeName(dir.filePath(QStringLiteral("song.wav"))).toStdString();
        file.embedCover = true;
        file.release.frontCoverComing = true;
        EXPECT_EQ(AddExtras(file, std::nullopt).size(), beside ? 0U : 1U) << beside;
    }
}

} // namespace
