// SPDX-License-Identifier: GPL-3.0-or-later
// The kept list's file: a row comes back as it went, a file that is not one this program can take
// is set aside (never deleted), and one program at a time holds it.
#include "filelist/KeptList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

KeptRow FullRow() {
    KeptRow row;
    row.file = "/music/in/Spring Tide.wav";
    row.saveAs = "Spring Tide – extended.wav";
    row.track = 2;
    row.trackCount = 12;
    row.title = "Spring Tide (feat. Ülla";
    row.artist = "Nora Quist";
    row.album = "Tide Tables";
    row.year = "1997";
    row.comment = "kept";
    row.genre = 12;
    row.genreGiven = true;
    row.fullTitle = "Spring Tide (feat. Ülla Brandt) — the extended harbour version";
    row.genreName = "Sea Shanty";
    row.cover = "/music/in/cover.jpg";
    row.failure = "gogo: cannot create the output file";
    row.sourceDamage = "21 sectors could not be read exactly";
    row.release.album = "Tide Tables";
    row.release.discNumber = 2;
    row.release.discCount = 3;
    row.release.labels = {"Harbour Records", "Ebb Tide Music"};
    row.release.artistIds = {"0a7e4f2c-1111-4c3b-8d6e-0123456789ab"};
    row.release.releaseId = "5a1c0b7e-8a5f-4d3e-9d0e-6f1c2b3a4d5e";
    row.release.discId = "lwHl8fGzJyLXQR33ug60E8jhf4k-";
    row.disc = DiscToc{1, {150, 20000}, 40000};
    static const QByteArray jpeg =
        QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11) + QByteArray(300, 'c');
    row.release.frontCover = CoverPicture{"image/jpeg", jpeg};
    return row;
}

TEST(KeptListTest, ARowComesBackAsItWent) {
    KeptRow plain;
    plain.file = "/music/plain.wav";
    const std::vector<KeptRow> rows = {FullRow(), plain, FullRow()};
    const QByteArray bytes = KeptListBytes(rows);
    EXPECT_EQ(bytes.count("\"data\""), 1) << "the rows of a release keep one cover";
    const KeptListRead read = ReadKeptList(bytes);
    EXPECT_EQ(read.damage, "");
    EXPECT_FALSE(read.newer);
    EXPECT_EQ(read.rows, rows);
}

TEST(KeptListTest, BytesThatAreNoKeptListGiveNoRows) {
    const QByteArray good = KeptListBytes({FullRow()});
    const auto edited = [&](const char* from, const char* to) {
        QByteArray bytes = good;
        EXPECT_TRUE(bytes.contains(from)) << from;
        return bytes.replace(from, to);
    };
    const struct {
        const char* what;
        QByteArray bytes;
        bool newer;
    } cases[] = {
        {"not JSON", good.left(good.size() / 2), false},
        {"another format", edited("vamble-list", "other-list"), false},
        {"a newer version", edited("\"version\":1", "\"version\":2"), true},
        {"a relative path", edited("/music/in/Spring", "music/in/Spring"), false},
        {"a disc count out of range", edited("\"discCount\":3", "\"discCount\":100000"), false},
        {"a malformed identifier", edited("5a1c0b7e-8a5f", "5a1c0b7e/../"), false},
        {"a text in place of a number", edited("\"genre\":12", "\"genre\":\"12\""), false},
        {"track offsets out of order", edited("[150,20000]", "[20000,150]"), false},
        {"a cover of another type than it says", edited("image/jpeg", "image/png"), false},
        {"a cover that is not there", edited("\"frontCover\":0", "\"frontCover\":1"), false},
        {"a text too long", edited("\"kept\"", ("\"" + std::string(70000, 'x') + "\"").c_str()),
         false},
    };
    for (const auto& c : cases) {
        const KeptListRead read = ReadKeptList(c.bytes);
        EXPECT_TRUE(read.rows.empty()) << c.what;
        EXPECT_EQ(read.newer, c.newer) << c.what;
        EXPECT_EQ(read.damage.empty(), c.newer) << c.what;
    }
}

TEST(KeptListTest, AListThatCannotBeTakenIsSetAsideAndOneProgramHoldsIt) {
    QTemporaryDir dir;
    const std::filesystem::path folder = QFile::encodeName(dir.filePath(QStringLiteral("state"))).toStdString();
    {
        KeptListFile file(folder);
        ASSERT_TRUE(file.Held());
        EXPECT_FALSE(KeptListFile(folder).Held()) << "a second program does not get the list";
        EXPECT_EQ(file.Write(KeptListBytes({FullRow()})), QString());
        EXPECT_EQ(file.Load().rows, std::vector<KeptRow>{FullRow()});

        QFile damaged(QFile::decodeName(file.Path().c_str()));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"format\":\"vamble-list\",\"version\":1,\"rows\":[{\"file\":\"x\"}]}");
        damaged.close();
        const KeptListFile::Loaded loaded = file.Load();
        EXPECT_TRUE(loaded.rows.empty());
        EXPECT_FALSE(loaded.problem.isEmpty());
    }
    const QStringList left = QDir(QFile::decodeName(folder.c_str())).entryList(QDir::Files);
    EXPECT_EQ(left.filter(QStringLiteral("list.json.set-aside-")).size(), 1)
        << left.join(u' ').toStdString();
    EXPECT_FALSE(left.contains(QStringLiteral("list.json")));
    EXPECT_TRUE(KeptListFile(folder).Held()) << "the lock goes with its program";
}

} // namespace
