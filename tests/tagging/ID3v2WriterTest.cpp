// SPDX-License-Identifier: GPL-3.0-or-later
// The ID3v2 tag on MP3 files the companion encoder makes, each already carrying its ID3v1 tag and
// attributes as the encoding run leaves it: what other programs read back, what stays byte for
// byte, and failures that leave the file whole.
#include "tagging/ID3v2Writer.h"

#include "TagReaders.h"
#include "support/TmpfsMount.h"
#include "tagging/ID3Editor.h"

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

    ASSERT_EQ(WriteID3v2Tag(Finished(path, tag, fullTitle, 7)), 0);
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
    ASSERT_EQ(WriteID3v2Tag(Finished(path, second, "Zweiter Titel", -1)), 0);
    const QByteArray again = FileBytes(path);
    EXPECT_EQ(again.mid(Id3v2Length(again)), before);
    EXPECT_EQ(ReadID3v2WithMutagen(path),
              (TagFields{{"title", "Zweiter Titel"}, {"version", "2.3.0"}}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("song.mp3")});

    // A track count the row knows without a release (its disc, its source's tag).
    FinishedFile counted = Finished(path, second, "Zweiter Titel", 3);
    counted.trackCount = 12;
    ASSERT_EQ(WriteID3v2Tag(counted), 0);
    EXPECT_EQ(ReadID3v2FramesWithMutagen(path)["TRCK"], "3/12");
}

// Several values joined as the ID3v2.3 form keeps them, or apart (a zero between) in 2.4.
std::string Values(std::initializer_list<std::string> values, bool v4) {
    std::string joined;
    for (const std::string& value : values) {
        joined += (joined.empty() ? "" : v4 ? std::string(1, '\0') : "/") + value;
    }
    return joined;
}

// A release's frames in a new ID3v2.3 tag and in another tool's ID3v2.4 tag (kept 2.4), as
// mutagen and TagLib read the raw frames: each value in the frame other taggers give it.
class ID3v2ReleaseFrames : public ID3v2WriterTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ID3v2ReleaseFrames, EveryValueInTheFrameLibrariesRead) {
    const bool v4 = GetParam();
    ReleaseTags release;
    release.title = "Spring Tide (feat. Ülla Brandt) — the extended harbour version";
    release.artist = "Nora Quist feat. Ülla Brandt";
    release.album = "Tide Tables: Collected Recordings of the Northern Coast";
    release.albumArtist = "Nora Quist & The Ebb";
    release.discNumber = 2;
    release.discCount = 3;
    release.trackCount = 12;
    release.media = "CD";
    release.originalDate = "1997-05-21";
    release.isrc = "GBAAA0400002";
    release.labels = {"Harbour Records", "Ebb Tide Music"};
    release.catalogNumbers = {"HBR 042", "EBB 7"};
    release.recordingId = "f1000000-0000-4000-8000-000000000002";
    release.releaseTrackId = "e1000000-0000-4000-8000-000000000002";
    release.artistIds = {"0a7e4f2c-1111-4c3b-8d6e-0123456789ab",
                         "0c9a6b4e-5555-4c3b-8d6e-0123456789ab"};
    release.releaseId = "5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e";
    release.releaseGroupId = "9d2f4b6c-4444-4c3b-8d6e-0123456789ab";
    const ID3_struct tag = MakeTag(release.title.c_str(), release.artist.c_str(),
                                   release.album.c_str(), "2004", "", 12);
    const QString path = EncodedFile(dir.path(), tag, 2);
    if (v4) {
        RunPython("import sys\nfrom mutagen.id3 import ID3, TIT2\n"
                  "tag = ID3()\ntag.add(TIT2(encoding=3, text='Old'))\n"
                  "tag.save(sys.argv[1], v2_version=4, v1=1)\n",
                  {path});
    }
    FinishedFile file = Finished(path, tag, release.title, 2);
    file.release = release;
    ASSERT_EQ(WriteID3v2Tag(file), 0);

    const std::map<std::string, std::string> expected = {
        {"TPE2", release.albumArtist},
        {"TPOS", "2/3"},
        {"TRCK", "2/12"},
        {"TMED", "CD"},
        // ID3v2.3 keeps the first release's year in TORY, which both read as TDOR.
        {"TDOR", v4 ? "1997-05-21" : "1997"},
        {"TXXX:originalyear", "1997"},
        {"TPUB", Values({"Harbour Records", "Ebb Tide Music"}, v4)},
        {"TXXX:CATALOGNUMBER", Values({"HBR 042", "EBB 7"}, v4)},
        {"TSRC", "GBAAA0400002"},
        {"UFID:http://musicbrainz.org", release.recordingId},
        {"TXXX:MusicBrainz Album Id", release.releaseId},
        {"TXXX:MusicBrainz Artist Id", Values({release.artistIds[0], release.artistIds[1]}, v4)},
        {"TXXX:MusicBrainz Release Group Id", release.releaseGroupId},
        {"TXXX:MusicBrainz Release Track Id", release.releaseTrackId},
    };
    for (const auto& [reader, frames] : {std::pair("mutagen", ReadID3v2FramesWithMutagen(path)),
                                         std::pair("TagLib", ReadID3v2FramesWithTagLib(path))}) {
        for (const auto& [key, value] : expected) {
            const auto found = frames.find(key);
            EXPECT_TRUE(found != frames.end() && found->second == value)
                << reader << " reads " << key << " as "
                << (found == frames.end() ? "nothing" : found->second);
        }
        EXPECT_FALSE(frames.contains("TXXX:BARCODE")) << reader << ": the release has none";
    }
}

INSTANTIATE_TEST_SUITE_P(TagVersions, ID3v2ReleaseFrames, ::testing::Bool(),
                         [](const auto& version) { return version.param ? "ID3v24" : "ID3v23"; });

// Another tool's ID3v2.4 tag stays 2.4 with the frames that 2.3 has no place for; a row nobody
// gave a genre gets none in it (its ID3v1 genre byte stays 0, which has no "none").
TEST_F(ID3v2WriterTest, AnotherToolsID3v24TagStaysWholeAndAnUntaggedGenreIsLeftOut) {
    const ID3_struct tag = MakeTag("New Title", "", "", "2024", "", 0);
    const QString path = EncodedFile(dir.path(), tag, -1);
    RunPython(R"(
import sys
from mutagen.id3 import ID3, RVA2, TIT2, TMOO, TSST, TDRL, TPRO, TCON
tag = ID3()
for frame in [TIT2(encoding=3, text='Old'), TCON(encoding=3, text='Jazz'),
              RVA2(desc='track', channel=1, gain=-3.5, peak=0.5), TMOO(encoding=3, text='calm'),
              TSST(encoding=3, text='Part one'), TDRL(encoding=3, text='2001-02-03'),
              TPRO(encoding=3, text='2001 A Label')]:
    tag.add(frame)
tag.save(sys.argv[1], v2_version=4, v1=1)
)",
              {path});
    FinishedFile file = Finished(path, tag, "New Title", -1);
    file.genreGiven = false;
    ASSERT_EQ(WriteID3v2Tag(file), 0);
    EXPECT_EQ(ReadID3v2WithMutagen(path),
              (TagFields{{"title", "New Title"}, {"year", "2024"}, {"version", "2.4.0"}}));
    const QByteArray frames = RunPython(R"(
import sys
from mutagen.id3 import ID3
# The frames as written: mutagen would otherwise turn a 2.3 year frame into TDRC.
tag = ID3(sys.argv[1], load_v1=False, translate=False)
print(' '.join(sorted(key.split(':')[0] for key in tag.keys())))
)",
                                        {path});
    EXPECT_EQ(frames.trimmed().toStdString(), "RVA2 TDRC TDRL TIT2 TMOO TPRO TSST");
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
        const int32_t result = WriteID3v2Tag(Finished(path, tag, "T", 1));
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
        ASSERT_EQ(WriteID3v2Tag(Finished(path, tag, "Title", 1)), 0);
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
            : WriteID3v2Tag(Finished(path, tag, "Title", 1));
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
