// SPDX-License-Identifier: GPL-3.0-or-later
// The tag as other programs read it: id3v2 (id3lib) and python3-mutagen must see every field.
#include "TagReaders.h"
#include "tagging/ID3Editor.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class TagReaderAgreementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("song.mp3"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, '\0'));
    }

    void Write(const char* title, const char* artist, const char* album, const char* year,
               const char* comment, uint8_t genre) {
        ID3Editor editor(path.toLocal8Bit().constData());
        editor.SetSongTitle(title);
        editor.SetArtist(artist);
        editor.SetAlbum(album);
        editor.SetYear(year);
        editor.SetComment(comment);
        editor.SetGenre(genre);
        editor.SetTrack(7); // never part of the tag
        ASSERT_EQ(editor.WriteTag(), 0);
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(TagReaderAgreementTest, Id3v2ReadsEveryFieldIncludingFullWidthTexts) {
    if (!HaveProgram(QStringLiteral("id3v2"))) {
        GTEST_SKIP() << "id3v2 is not installed; scripts/install-deps test installs it";
    }
    const std::string title(30, 'T');
    const std::string comment = std::string(29, 'c') + "!";
    Write(title.c_str(), "Some Artist", "An Album of Thirty Characters!", "1987", comment.c_str(),
          84);
    const TagFields expected = {
        {"title", title}, {"artist", "Some Artist"}, {"album", "An Album of Thirty Characters!"},
        {"year", "1987"}, {"comment", comment},      {"genre", "84"},
    };
    EXPECT_EQ(ReadTagWithId3v2(path), expected);

    Write("Second", "", "", "", "short", 0);
    const TagFields second = {
        {"title", "Second"}, {"artist", ""},       {"album", ""},
        {"year", ""},        {"comment", "short"}, {"genre", "0"},
    };
    EXPECT_EQ(ReadTagWithId3v2(path), second);
}

TEST_F(TagReaderAgreementTest, MutagenReadsEveryTextFieldAndNoTrack) {
    if (!HaveMutagen()) {
        GTEST_SKIP() << "python3-mutagen is not installed for /usr/bin/python3; "
                        "scripts/install-deps test installs it";
    }
    // mutagen reads every ID3v1 tag as version 1.1 and takes a nonzero 30th comment byte for a
    // track number, so full-width comments are compared through id3v2 only.
    Write("Title With Spaces", std::string(30, 'A').c_str(), "Album", "2024",
          "Ends before its 29th byte", 13);
    const TagFields expected = {
        {"title", "Title With Spaces"},
        {"artist", std::string(30, 'A')},
        {"album", "Album"},
        {"year", "2024"},
        {"comment", "Ends before its 29th byte"},
    };
    EXPECT_EQ(ReadTagWithMutagen(path), expected);
}

} // namespace
