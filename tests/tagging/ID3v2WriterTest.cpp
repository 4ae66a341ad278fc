// The ID3v2 tag on MP3 files the companion encoder makes, each already carrying its ID3v1 tag and
// attributes as the encoding run leaves it: what other programs read back, what stays byte for
// byte, and failures that leave the file whole.
#include "tagging/ID3v2Writer.h"

#include "TagReaders.h"
#include "support/TmpfsMount.h"
#include "tagging/ID3Editor.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// One second of stereo sine made with sox and encoded by the companion encoder, once.
const QByteArray& EncodedMp3() {
    static const QByteArray mp3 = [] {
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("in.wav"));
        const QString out = dir.filePath(QStringLiteral("out.mp3"));
        Run(QStringLiteral("sox"),
            QStringLiteral("-q -n -r 44100 -c 2 -b 16 %1 synth 1 sine 440").arg(wav).split(u' '));
        Run(QStringLiteral(GOGO_PATH),
            QStringLiteral("%1 %2 -b 128 -cpu 1 -m j -priority 10").arg(wav, out).split(u' '));
        return FileBytes(out);
    }();
    return mp3;
}

qsizetype DecodedBytes(const QString& path) {
    return Run(QStringLiteral("mpg123"), {QStringLiteral("-q"), QStringLiteral("-s"), path}).size();
}

// The length of the ID3v2 tag the bytes begin with: its header and its size (7 bits a byte).
qsizetype Id3v2Length(const QByteArray& bytes) {
    qsizetype size = 0;
    for (int i = 6; i < 10 && bytes.startsWith("ID3"); ++i) {
        size = (size << 7) | (bytes[i] & 0x7f);
    }
    return bytes.startsWith("ID3") ? 10 + size : 0;
}

class ID3v2WriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const char* program : {"sox", "mpg123", "id3v2", "getfattr"}) {
            if (!HaveProgram(QString::fromLatin1(program))) {
                GTEST_SKIP() << program << " is not installed; scripts/install-deps test does it";
            }
        }
        if (!HaveMutagen()) {
            GTEST_SKIP() << "python3-mutagen is not installed for /usr/bin/python3";
        }
        ASSERT_GT(EncodedMp3().size(), 4096);
    }

    // An encoded file in `folder` with its ID3v1 tag and attributes, as the encoding run leaves
    // it before the ID3v2 tag.
    static QString EncodedFile(const QString& folder, const ID3_struct& tag, int32_t track) {
        const QString path = folder + QStringLiteral("/song.mp3");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(EncodedMp3());
        file.close();
        ID3Editor editor(QFile::encodeName(path).constData(), &tag, track);
        EXPECT_EQ(editor.WriteTag(), 0);
        editor.WriteTagsToAttr();
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(ID3v2WriterTest, EveryFieldReadsBackInFullBeforeTheUnchangedFile) {
    const std::string fullTitle = "Ünïcödé – a title far longer than the thirty bytes.wav";
    const ID3_struct tag =
        MakeTag(fullTitle.c_str(), "Ärtist 日本", "Альбом", "1999", "Ça va? コメント", 30);
    const QString path = EncodedFile(dir.path(), tag, 7);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 4321, 4321), 0);
    }
    const QFile::Permissions permissions = QFile::permissions(path);
    const QByteArray before = FileBytes(path);
    const auto attributes = ReadUserAttributes(path);
    EXPECT_TRUE(attributes.contains("Audio:Title"));
    const qsizetype decoded = DecodedBytes(path);
    EXPECT_EQ(decoded, 44100 * 4);

    ASSERT_EQ(WriteID3v2Tag(QFile::encodeName(path).constData(), tag, fullTitle, 7), 0);
    const QByteArray after = FileBytes(path);
    EXPECT_EQ(after.mid(Id3v2Length(after)), before) << "one tag, then the file byte for byte";
    TagFields expected = {{"title", fullTitle}, {"artist", "Ärtist 日本"},      {"album", "Альбом"},
                          {"year", "1999"},     {"comment", "Ça va? コメント"}, {"genre", "Fusion"},
                          {"track", "7"}};
    EXPECT_EQ(ReadID3v2WithId3v2(path), expected);
    expected["version"] = "2.3.0";
    EXPECT_EQ(ReadID3v2WithMutagen(path), expected);
    EXPECT_EQ(DecodedBytes(path), decoded);
    EXPECT_EQ(ReadUserAttributes(path), attributes);
    EXPECT_EQ(QFile::permissions(path), permissions);
    if (root) {
        EXPECT_EQ(QFileInfo(path).ownerId(), 4321U);
        EXPECT_EQ(QFileInfo(path).groupId(), 4321U);
    }

    // A second tag replaces the first; values now empty lose their frames.
    const ID3_struct second = MakeTag("Zweiter Titel", "", "", "", "", 200);
    ASSERT_EQ(WriteID3v2Tag(QFile::encodeName(path).constData(), second, "Zweiter Titel", -1), 0);
    const QByteArray again = FileBytes(path);
    EXPECT_EQ(again.mid(Id3v2Length(again)), before);
    EXPECT_EQ(ReadID3v2WithMutagen(path),
              (TagFields{{"title", "Zweiter Titel"}, {"version", "2.3.0"}}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("song.mp3")});
}

TEST_F(ID3v2WriterTest, ReleaseNamesGoInFullWithTheirIdentifiersWhileTheRowKeepsThem) {
    ReleaseTags release;
    release.title = "Spring Tide (feat. Ülla Brandt) — the extended harbour version";
    release.artist = "Nora Quist feat. Ülla Brandt";
    release.album = "Tide Tables: Collected Recordings of the Northern Coast";
    release.albumArtist = "Nora Quist & The Ebb";
    release.discNumber = 2;
    release.discCount = 3;
    release.recordingId = "f1000000-0000-4000-8000-000000000002";
    release.releaseTrackId = "e1000000-0000-4000-8000-000000000002";
    release.artistIds = {"0a7e4f2c-1111-4c3b-8d6e-0123456789ab",
                         "0c9a6b4e-5555-4c3b-8d6e-0123456789ab"};
    release.releaseId = "5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e";
    release.releaseGroupId = "9d2f4b6c-4444-4c3b-8d6e-0123456789ab";
    release.catalogNumber = "HBR 042";
    release.frontCover = QByteArray("\xFF\xD8\xFF\xE0 picture", 12);
    release.coverMimeType = "image/jpeg";
    const ID3_struct tag = MakeTag(release.title.c_str(), release.artist.c_str(),
                                   release.album.c_str(), "2004", "", 12);
    const QString path = EncodedFile(dir.path(), tag, 2);
    ASSERT_EQ(WriteID3v2Tag(QFile::encodeName(path).constData(), tag, "Track 02", 2, release), 0);
    TagFields frames = ReadID3v2FramesWithMutagen(path);
    EXPECT_EQ(frames["TIT2"], release.title);
    EXPECT_EQ(frames["TPE1"], release.artist);
    EXPECT_EQ(frames["TALB"], release.album);
    EXPECT_EQ(frames["TPE2"], release.albumArtist);
    EXPECT_EQ(frames["TPOS"], "2/3");
    EXPECT_EQ(frames["UFID:http://musicbrainz.org"], release.recordingId);
    EXPECT_EQ(frames["TXXX:MusicBrainz Album Id"], release.releaseId);
    EXPECT_EQ(frames["TXXX:MusicBrainz Artist Id"],
              release.artistIds[0] + "/" + release.artistIds[1]);
    EXPECT_EQ(frames["TXXX:MusicBrainz Release Group Id"], release.releaseGroupId);
    EXPECT_EQ(frames["TXXX:MusicBrainz Release Track Id"], release.releaseTrackId);
    EXPECT_EQ(frames["TXXX:CATALOGNUMBER"], "HBR 042");
    EXPECT_EQ(frames["APIC"], "image/jpeg 3 " + QCryptographicHash::hash(release.frontCover,
                                                                         QCryptographicHash::Sha1)
                                                    .toHex()
                                                    .toStdString());

    // A title typed by hand drops the track's identifiers; an album typed by hand, the release's.
    ID3_struct typed = tag;
    SetTagText(typed.title, "Typed");
    ASSERT_EQ(WriteID3v2Tag(QFile::encodeName(path).constData(), typed, "Typed", 2, release), 0);
    frames = ReadID3v2FramesWithMutagen(path);
    EXPECT_EQ(frames["TIT2"], "Typed");
    EXPECT_FALSE(frames.contains("UFID:http://musicbrainz.org"));
    EXPECT_EQ(frames["TXXX:MusicBrainz Album Id"], release.releaseId);
    SetTagText(typed.album, "Typed Album");
    ASSERT_EQ(WriteID3v2Tag(QFile::encodeName(path).constData(), typed, "Typed", 2, release), 0);
    frames = ReadID3v2FramesWithMutagen(path);
    EXPECT_EQ(frames["TALB"], "Typed Album");
    EXPECT_EQ(frames["TPE1"], release.artist); // the artist is still the track's
    for (const char* gone : {"TPE2", "TPOS", "TXXX:MusicBrainz Album Id", "APIC"}) {
        EXPECT_FALSE(frames.contains(gone)) << gone;
    }
}

enum class Obstacle {
    Missing,
    NotMpeg,
    TagAfterOtherBytes,
    ReadOnlyFileSystem,
    FullFileSystem,
    FileSizeLimit
};

// Runs the writer in a child process whose files may not grow beyond `limit` bytes, so that
// TagLib's rewrite of the copy fails part way.
int32_t WriteWithFileSizeLimit(const QString& path, const ID3_struct& tag, rlim_t limit) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &size);
        const int32_t result = WriteID3v2Tag(QFile::encodeName(path).constData(), tag, "T", 1);
        std::fflush(stdout);
        ::_exit(result == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : -1;
}

class ID3v2WriterFailure : public ID3v2WriterTest,
                           public ::testing::WithParamInterface<Obstacle> {};

TEST_P(ID3v2WriterFailure, LeavesTheFileAsItWasAndSaysSo) {
    const Obstacle obstacle = GetParam();
    QString folder = dir.path();
    std::optional<TmpfsMount> mount;
    if (obstacle == Obstacle::ReadOnlyFileSystem || obstacle == Obstacle::FullFileSystem) {
        // Room for the file and not for a copy of it.
        folder = dir.filePath(QStringLiteral("fs"));
        mount.emplace(folder.toStdString(), 0, "size=24k");
        if (!mount->Mounted()) {
            GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
        }
    }
    const ID3_struct tag = MakeTag("Title", "", "", "", "", 0);
    QString path = folder + QStringLiteral("/song.mp3");
    if (obstacle == Obstacle::NotMpeg) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, '\0'));
    } else if (obstacle != Obstacle::Missing) {
        path = EncodedFile(folder, tag, 1);
    }
    if (obstacle == Obstacle::TagAfterOtherBytes) {
        ASSERT_EQ(WriteID3v2Tag(QFile::encodeName(path).constData(), tag, "Title", 1), 0);
        const QByteArray tagged = FileBytes(path);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(64, '\0') + tagged);
    }
    if (obstacle == Obstacle::ReadOnlyFileSystem) {
        ASSERT_EQ(::mount(nullptr, folder.toLocal8Bit().constData(), nullptr,
                          MS_REMOUNT | MS_RDONLY, nullptr),
                  0);
    }
    const QByteArray before = FileBytes(path);
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);

    ::testing::internal::CaptureStdout();
    const int32_t result =
        obstacle == Obstacle::FileSizeLimit
            ? WriteWithFileSizeLimit(path, tag, static_cast<rlim_t>(before.size() + 100))
            : WriteID3v2Tag(QFile::encodeName(path).constData(), tag, "Title", 1);
    std::fflush(stdout);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Error writing ID3v2 tag.\n");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), files) << "no copy left";
}

std::string ObstacleName(const ::testing::TestParamInfo<Obstacle>& param) {
    const char* names[] = {
        "Missing",        "NotMpeg",      "TagAfterOtherBytes", "ReadOnlyFileSystem",
        "FullFileSystem", "FileSizeLimit"};
    return names[static_cast<int>(param.param)];
}

INSTANTIATE_TEST_SUITE_P(Obstacles, ID3v2WriterFailure,
                         ::testing::Values(Obstacle::Missing, Obstacle::NotMpeg,
                                           Obstacle::TagAfterOtherBytes,
                                           Obstacle::ReadOnlyFileSystem, Obstacle::FullFileSystem,
                                           Obstacle::FileSizeLimit),
                         ObstacleName);

} // namespace
