// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ID3Editor.h"

#include "TagReaders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const QByteArray kAudio = QByteArray(1000, '\xfb');

// The 128 bytes an ID3v1 tag of these values consists of.
QByteArray TagBytes(const char* title, const char* artist, const char* album, const char* year,
                    const char* comment, uint8_t genre) {
    const auto field = [](const char* text, qsizetype width) {
        return QByteArray(text).leftJustified(width, '\0', true);
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
           field(comment, 30) + QByteArray(1, static_cast<char>(genre));
}

class ID3EditorTest : public ::testing::Test {
protected:
    QString MakeFile(const QByteArray& content, const char* name = "song.mp3") {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    static QByteArray Contents(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        if (!HaveProgram(QStringLiteral("getfattr"))) {
            GTEST_SKIP() << "getfattr (Debian package attr) is not installed; "
                            "scripts/install-deps test installs it";
        }
    }

    QTemporaryDir dir;
};

TEST_F(ID3EditorTest, FreshFileGrowsByOneTagAndASecondWriteReplacesIt) {
    const QString path = MakeFile(kAudio);
    const ID3_struct first = MakeTag("Intro", "Band", "Record", "1999", "fine", 17);
    EXPECT_EQ(ID3Editor(path.toLocal8Bit().constData(), &first, 1).WriteTag(), 0);

    QByteArray contents = Contents(path);
    ASSERT_EQ(contents.size(), kAudio.size() + 128);
    EXPECT_EQ(contents.left(kAudio.size()), kAudio);
    EXPECT_EQ(contents.mid(kAudio.size()), TagBytes("Intro", "Band", "Record", "1999", "fine", 17));

    const ID3_struct second = MakeTag("Outro", "", "", "", "", 84);
    EXPECT_EQ(ID3Editor(path.toLocal8Bit().constData(), &second, -1).WriteTag(), 0);
    contents = Contents(path);
    ASSERT_EQ(contents.size(), kAudio.size() + 128);
    EXPECT_EQ(contents.left(kAudio.size()), kAudio);
    EXPECT_EQ(contents.mid(kAudio.size()), TagBytes("Outro", "", "", "", "", 84));
    EXPECT_EQ(contents.count("TAG"), 1);
}

TEST_F(ID3EditorTest, LastBytesBeginningWithTagAreReplaced) {
    QByteArray audio = kAudio;
    audio.replace(audio.size() - 128, 3, "TAG");
    const QString path = MakeFile(audio);

    ID3Editor editor(path.toLocal8Bit().constData());
    editor.SetSongTitle("New");
    EXPECT_EQ(editor.WriteTag(), 0);

    const QByteArray contents = Contents(path);
    ASSERT_EQ(contents.size(), audio.size());
    EXPECT_EQ(contents.left(audio.size() - 128), audio.left(audio.size() - 128));
    EXPECT_EQ(contents.right(128), TagBytes("New", "", "", "", "", 0));
}

TEST_F(ID3EditorTest, SettersCutLongTextsAndNeighbouringFieldsKeepTheirPlace) {
    const QString path = MakeFile(kAudio);
    const std::string thirty(30, 'T');
    ID3Editor editor(path.toLocal8Bit().constData());
    editor.SetSongTitle((thirty + "cut.wav").c_str());
    editor.SetArtist("Artist");
    editor.SetAlbum(nullptr);
    editor.SetYear("20245");
    editor.SetComment(std::string(31, 'c').c_str());
    editor.SetGenre(3);
    ASSERT_EQ(editor.WriteTag(), 0);

    const QByteArray tag = Contents(path).right(128);
    EXPECT_EQ(tag.mid(3, 30), QByteArray::fromStdString(thirty));
    EXPECT_EQ(tag.mid(33, 30), QByteArray("Artist").leftJustified(30, '\0'));
    EXPECT_EQ(tag.mid(63, 30), QByteArray(30, '\0'));
    EXPECT_EQ(tag.mid(93, 4), "2024");
    EXPECT_EQ(tag.mid(97, 30), QByteArray(30, 'c'));
    EXPECT_EQ(tag.at(127), 3);
}

TEST_F(ID3EditorTest, TextsAreWrittenInLatin1AsID3v1ReadersReadThem) {
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"Los Señores", "Los Se\xF1ores"},
        {"Ærø Café", "\xC6r\xF8 Caf\xE9"},
        {"Dvořák", "Dvor\xE1k"},
        {"日本 🎵", "?? ?"},
    };
    for (const auto& [title, latin1] : cases) {
        const QString path = MakeFile(kAudio);
        const ID3_struct tag = MakeTag(title, "", "", "", "", 0);
        ASSERT_EQ(ID3Editor(path.toLocal8Bit().constData(), &tag, -1).WriteTag(), 0);
        EXPECT_EQ(Contents(path).right(128).mid(3, 30), latin1.leftJustified(30, '\0')) << title;
    }
}

TEST_F(ID3EditorTest, ShortFileGetsNoTagButItsAttributes) {
    const QByteArray audio(127, 'x');
    const QString path = MakeFile(audio);
    const ID3_struct tag = MakeTag("Short", "", "", "", "", 0);
    ID3Editor editor(path.toLocal8Bit().constData(), &tag, -1);

    EXPECT_EQ(editor.WriteTag(), -1);
    EXPECT_EQ(Contents(path), audio);
    EXPECT_EQ(editor.WriteTagsToAttr(), 0);
    EXPECT_EQ(ReadUserAttributes(path)["Audio:Title"], TextBytes("Short"));

    const QString exact = MakeFile(QByteArray(128, 'x'), "exact.mp3");
    EXPECT_EQ(ID3Editor(exact.toLocal8Bit().constData(), &tag, -1).WriteTag(), 0);
    EXPECT_EQ(Contents(exact).size(), 256);
}

TEST_F(ID3EditorTest, FileThatCannotBeOpenedGivesMinusOneSilently) {
    const QString missing = dir.filePath(QStringLiteral("missing.mp3"));
    const ID3_struct tag = MakeTag("Title", "", "", "", "", 0);

    ::testing::internal::CaptureStdout();
    {
        ID3Editor byPath(missing.toLocal8Bit().constData(), &tag, 1);
        EXPECT_EQ(byPath.WriteTag(), -1);
        EXPECT_EQ(byPath.WriteTagsToAttr(), -1);
        ID3Editor byRef(kit::EntryRef{missing.toStdString()});
        EXPECT_EQ(byRef.WriteTag(), -1);
        EXPECT_EQ(byRef.WriteTagsToAttr(), -1);
        ID3Editor folder(dir.path().toLocal8Bit().constData());
        EXPECT_EQ(folder.WriteTagsToAttr(), -1);
        ID3Editor none(nullptr, nullptr, 1);
        EXPECT_EQ(none.WriteTag(), -1);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_TRUE(ReadUserAttributes(dir.path()).empty());
}

TEST_F(ID3EditorTest, UntaggedRowGetsOnlyGenreAttributes) {
    const QString path = MakeFile(kAudio);
    ID3Editor editor(kit::EntryRef{path.toStdString()});
    EXPECT_EQ(editor.WriteTagsToAttr(), 0);

    const std::map<std::string, QByteArray> expected = {
        {"Audio:Genre", TextBytes("Blues")},
        {"Audio:GenreID", Int32Bytes(0)},
    };
    EXPECT_EQ(ReadUserAttributes(path), expected);
}

TEST_F(ID3EditorTest, FullRowGetsSevenAttributesAndNoYear) {
    const QString path = MakeFile(kAudio);
    const ID3_struct tag = MakeTag("Title", "Artist", "Album", "2001", "Comment", 84);
    EXPECT_EQ(ID3Editor(path.toLocal8Bit().constData(), &tag, 0).WriteTagsToAttr(), 0);

    const std::map<std::string, QByteArray> expected = {
        {"Audio:Title", TextBytes("Title")},  {"Audio:Comment", TextBytes("Comment")},
        {"Audio:Genre", TextBytes("Fusion")}, {"Audio:Track", Int32Bytes(0)},
        {"Audio:GenreID", Int32Bytes(84)},    {"Audio:Artist", TextBytes("Artist")},
        {"Audio:Album", TextBytes("Album")},
    };
    EXPECT_EQ(ReadUserAttributes(path), expected);
}

TEST_F(ID3EditorTest, GenreBeyondTheTableIsNamedUnknown) {
    const QString path = MakeFile(kAudio);
    ID3Editor editor(path.toLocal8Bit().constData());
    editor.SetGenre(111);
    EXPECT_EQ(editor.WriteTagsToAttr(), 0);
    EXPECT_EQ(editor.WriteTag(), 0);

    std::map<std::string, QByteArray> attributes = ReadUserAttributes(path);
    EXPECT_EQ(attributes["Audio:Genre"], TextBytes("Unknown"));
    EXPECT_EQ(attributes["Audio:GenreID"], Int32Bytes(111));
    EXPECT_EQ(static_cast<uint8_t>(Contents(path).back()), 111);
}

TEST_F(ID3EditorTest, SetTrackStoresTheTrackAndTracksBeyondInt32MeanNone) {
    const QString path = MakeFile(kAudio);
    ID3Editor editor(path.toLocal8Bit().constData());
    editor.SetTrack(12);
    EXPECT_EQ(editor.WriteTagsToAttr(), 0);
    EXPECT_EQ(ReadUserAttributes(path)["Audio:Track"], Int32Bytes(12));

    const QString other = MakeFile(kAudio, "other.mp3");
    ID3Editor unrepresentable(other.toLocal8Bit().constData());
    unrepresentable.SetTrack(0x80000000u);
    EXPECT_EQ(unrepresentable.WriteTagsToAttr(), 0);
    EXPECT_EQ(ReadUserAttributes(other).count("Audio:Track"), 0u);
}

} // namespace
