// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/GenreTable.h"

#include "TagReaders.h"

#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> Names(const GenreList& list) {
    return {list.begin(), list.end()};
}

// id3lib's list (shown by "id3v2 -L") is an independent record of the ID3v1 genres; ours differs
// from it only in these shortened or older spellings.
TEST(GenreTableTest, NamesAgreeWithId3libApartFromOurOwnSpellings) {
    if (!HaveProgram(QStringLiteral("id3v2"))) {
        GTEST_SKIP() << "id3v2 is not installed; scripts/install-deps test installs it";
    }
    QProcess id3v2;
    id3v2.start(QStringLiteral("id3v2"), {QStringLiteral("-L")});
    ASSERT_TRUE(id3v2.waitForFinished(60000));
    std::map<int, std::string> theirs;
    const QRegularExpression line(QStringLiteral("^ *(\\d+): (.*)$"),
                                  QRegularExpression::MultilineOption);
    for (const auto& match : line.globalMatch(QString::fromLatin1(id3v2.readAllStandardOutput()))) {
        theirs[match.captured(1).toInt()] = match.captured(2).toStdString();
    }
    const std::map<int, std::string> ours = {
        {40, "Alt. Rock"},      {46, "Instrum. Pop"},   {47, "Instrum. Rock"},
        {51, "Techno-Indust."}, {67, "Psychadelic"},    {81, "Folk/Rock"},
        {84, "Fusion"},         {92, "Progress. Rock"}, {93, "Psychadel. Rock"},
    };

    ASSERT_EQ(genre_count, 111);
    for (int genre = 0; genre < genre_count; ++genre) {
        const auto own = ours.find(genre);
        EXPECT_EQ(genre_table[genre], own != ours.end() ? own->second : theirs[genre])
            << "genre " << genre;
    }
}

TEST(GenreTableTest, SortedListIsTheSameNamesInByteOrder) {
    std::vector<std::string> byNumber = Names(genre_table);
    std::sort(byNumber.begin(), byNumber.end());
    EXPECT_EQ(Names(genre_table_sorted), byNumber);
    EXPECT_TRUE(std::is_sorted(genre_table_sorted.begin(), genre_table_sorted.end(),
                               [](const char* a, const char* b) { return std::strcmp(a, b) < 0; }));

    const std::vector<std::string> sorted = Names(genre_table_sorted);
    const std::vector<std::string> first(sorted.begin(), sorted.begin() + 6);
    const std::vector<std::string> last(sorted.end() - 6, sorted.end());
    EXPECT_EQ(first, (std::vector<std::string>{"Acid", "Acid Jazz", "Acid Punk", "Acoustic",
                                               "Alt. Rock", "Alternative"}));
    EXPECT_EQ(last, (std::vector<std::string>{"Top 40", "Trailer", "Trance", "Tribal", "Trip-Hop",
                                              "Vocal"}));

    const auto blues = std::find(sorted.begin(), sorted.end(), "Blues");
    ASSERT_NE(blues, sorted.end());
    EXPECT_EQ(std::count(sorted.begin(), sorted.end(), "Blues"), 1);
    EXPECT_EQ(*(blues - 1), "Bluegrass");
    EXPECT_EQ(*(blues + 1), "Booty Bass");
    EXPECT_LT(std::find(sorted.begin(), sorted.end(), "Pop-Folk"),
              std::find(sorted.begin(), sorted.end(), "Pop/Funk"));
}

TEST(GenreTableTest, LookupsFindTheFirstExactMatchOrZero) {
    EXPECT_EQ(GetGenreIndex("Fusion"), 30);
    EXPECT_EQ(GetGenreIndex("Jazz+Funk"), 29);
    EXPECT_EQ(GetGenreIndex("Jungle"), 63);
    EXPECT_EQ(GetGenreIndex("Satire"), 110);
    for (const char* notAName : {"blues", "FUSION", "Fusion ", "", "Slow Jam"}) {
        EXPECT_EQ(GetGenreIndex(notAName), 0) << notAName;
        EXPECT_EQ(GetGenreSortedIndex(notAName), 0) << notAName;
    }
    EXPECT_EQ(GetGenreIndex(nullptr), 0);
    EXPECT_EQ(GetGenreSortedIndex(nullptr), 0);

    const uint8_t fusion = GetGenreSortedIndex("Fusion");
    ASSERT_GT(fusion, 0);
    EXPECT_STRNE(genre_table_sorted[fusion - 1], "Fusion");
    EXPECT_STREQ(genre_table_sorted[fusion], "Fusion");
    EXPECT_STREQ(genre_table_sorted[fusion + 1], "Fusion");

    for (int genre = 0; genre < genre_count; ++genre) {
        const char* name = genre_table[genre];
        EXPECT_EQ(GetGenreIndex(name), genre == 84 ? 30 : genre) << name;
        EXPECT_STREQ(genre_table_sorted[GetGenreSortedIndex(name)], name);
    }
}

TEST(GenreTableTest, NumbersOutsideTheTableAreNamedUnknown) {
    EXPECT_STREQ(GenreName(0), "Blues");
    EXPECT_STREQ(GenreName(110), "Satire");
    EXPECT_STREQ(GenreName(111), "Unknown");
    EXPECT_STREQ(GenreName(255), "Unknown");
    EXPECT_STREQ(GenreName(-1), "Unknown");
}

TEST(GenreTableTest, NamesFindTheirNumbersInAnyLetterCase) {
    const std::pair<const char*, std::optional<uint8_t>> cases[] = {
        {"Rock", 17},
        {"rock", 17},
        {"ALT. ROCK", 40},
        {"Fusion", 30},
        {"Alternative Rock", std::nullopt},
        {"Synthwave", std::nullopt},
        {"", std::nullopt}};
    for (const auto& [name, number] : cases) {
        EXPECT_EQ(GenreNumberOfName(name), number) << name;
    }
}

} // namespace
