// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/NamePattern.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

struct Row {
    ID3_struct tag{};
    int32_t track = -1;
    std::string saveAs = "song.wav";

    std::string Expand(const char* pattern) const {
        return ExpandNamePattern(pattern, tag, track, saveAs);
    }
};

TEST(NamePatternTest, DefaultPatternNamesTheTrackAndTitle) {
    Row row;
    row.track = 3;
    SetTagText(row.tag.title, "intro.wav");
    EXPECT_EQ(row.Expand("%t-%s"), "03-intro");
}

TEST(NamePatternTest, TrackHasTwoDigitsBelowTenAndNothingWhenNegative) {
    Row row;
    const std::pair<int32_t, const char*> cases[] = {
        {0, "00"}, {9, "09"}, {10, "10"}, {123, "123"}, {2147483647, "2147483647"}, {-1, ""}};
    for (const auto& [track, expected] : cases) {
        row.track = track;
        EXPECT_EQ(row.Expand("%t"), expected) << track;
    }
    row.track = -1;
    EXPECT_EQ(row.Expand("%t"), "");
    EXPECT_EQ(row.Expand(""), "");
}

TEST(NamePatternTest, CodesThatGiveNothingLeaveNoSeparatorAtTheStartOfAName) {
    Row row;
    SetTagText(row.tag.title, "Alpha");
    const std::pair<const char*, const char*> cases[] = {
        {"%t-%s", "Alpha"},      {"%t - %s", "Alpha"},   {"%a_%t.%s", "Alpha"},
        {"%c/%t-%s", "/Alpha"},  {"%y-%t-%s", "Alpha"},  {"-%s", "-Alpha"}, // typed: kept
        {"%s - %t", "Alpha - "}, {"x/%t-%s", "x/Alpha"},
    };
    for (const auto& [pattern, expected] : cases) {
        EXPECT_EQ(row.Expand(pattern), expected) << pattern;
    }
}

TEST(NamePatternTest, TagCodesInsertTheirFields) {
    Row row;
    SetTagText(row.tag.artist, "Artist");
    SetTagText(row.tag.album, "Album");
    SetTagText(row.tag.year, "1999");
    SetTagText(row.tag.title, "Title");
    row.track = 12;
    EXPECT_EQ(row.Expand("%a/%c (%y)/%t %s [%n]"), "Artist/Album (1999)/12 Title [song]");
}

TEST(NamePatternTest, TextsLongerThanTheirFieldsNameTheFileInFull) {
    Row row;
    const std::string longTitle = "Deuxième partie, longer than thirty bytes";
    SetTagText(row.tag.title, longTitle.c_str());
    SetTagText(row.tag.artist, "Short");
    const FullTexts full{.title = longTitle, .artist = "Short"};
    EXPECT_EQ(ExpandNamePattern("%a - %s", row.tag, -1, row.saveAs, full), "Short - " + longTitle);
    EXPECT_EQ(row.Expand("%s"), "Deuxième partie, longer than ") << "without: the 30 bytes";
}

TEST(NamePatternTest, DiscAndAlbumArtistNameTheDiscsOfAReleaseApart) {
    Row row;
    SetTagText(row.tag.title, "Intro");
    SetTagText(row.tag.album, "Album");
    SetTagText(row.tag.artist, "Guest");
    row.track = 1;
    struct Case {
        FullTexts full;
        const char* expected;
    };
    const Case cases[] = {
        {{.albumArtist = "Band", .discNumber = 1, .discCount = 2}, "Band/Album/1-01-Intro"},
        {{.albumArtist = "Band", .discNumber = 2, .discCount = 2}, "Band/Album/2-01-Intro"},
        {{.albumArtist = "Band", .discNumber = 1, .discCount = 1}, "Band/Album/01-Intro"},
        {{}, "Guest/Album/01-Intro"}, // nothing known: the artist
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExpandNamePattern("%A/%c/%d-%t-%s", row.tag, row.track, row.saveAs, c.full),
                  c.expected);
    }
}

TEST(NamePatternTest, TitleFallsBackToSaveAsText) {
    Row row;
    row.saveAs = "Edited Name.wav";
    EXPECT_EQ(row.Expand("%s"), "Edited Name");
    SetTagText(row.tag.title, "Title");
    EXPECT_EQ(row.Expand("%s"), "Title");
    EXPECT_EQ(row.Expand("%n"), "Edited Name");
}

TEST(NamePatternTest, WavRuleLooksAtTheWholeResultAndOnlyAtLowerCase) {
    Row row;
    row.saveAs = "Song.WAV";
    EXPECT_EQ(row.Expand("%n"), "Song.WAV");
    EXPECT_EQ(row.Expand("%s"), "Song.WAV");

    row.saveAs = "av";
    EXPECT_EQ(row.Expand("my.w%n"), "my");
    row.saveAs = "";
    EXPECT_EQ(row.Expand(".wav%n"), "");
    row.track = 5;
    EXPECT_EQ(row.Expand("%t.wav"), "05.wav");

    row.saveAs = "twice.wav.wav";
    EXPECT_EQ(row.Expand("%n"), "twice.wav");
    row.saveAs = "wav";
    EXPECT_EQ(row.Expand("%n"), "wav");
    row.saveAs = "x";
    EXPECT_EQ(row.Expand("%n.wav"), "x.wav");
}

TEST(NamePatternTest, CutTitleKeepsWhatRemainsOfItsExtension) {
    Row row;
    SetTagText(row.tag.title, "A file name of thirty-one b.wav");
    EXPECT_EQ(row.Expand("%s"), "A file name of thirty-one b.wa");

    // A field filled to its last byte still yields at most 30 characters.
    std::memset(row.tag.title, 'x', sizeof row.tag.title);
    EXPECT_EQ(row.Expand("%s"), std::string(30, 'x'));
}

TEST(NamePatternTest, PercentSignsThatAreNoCode) {
    Row row;
    EXPECT_EQ(row.Expand("%%"), "%");
    EXPECT_EQ(row.Expand("%%s"), "%s");
    EXPECT_EQ(row.Expand("a%xb"), "a%b");
    EXPECT_EQ(row.Expand("100%"), "100%");
    EXPECT_EQ(row.Expand("%"), "%");
    EXPECT_EQ(row.Expand("%S%T"), "%%");
}

TEST(NamePatternTest, ValuesAddNoFolderLevels) {
    Row row;
    SetTagText(row.tag.artist, "AC/DC");
    SetTagText(row.tag.title, "T.N.T.");
    EXPECT_EQ(row.Expand("%a - %s"), "AC-DC - T.N.T.");

    SetTagText(row.tag.album, "../../x");
    SetTagText(row.tag.year, "1/2");
    EXPECT_EQ(row.Expand("%a/%c/%y/%s"), "AC-DC/..-..-x/1-2/T.N.T.");

    row.saveAs = "a/b.wav";
    EXPECT_EQ(row.Expand("%n"), "a-b");
}

TEST(NamePatternTest, DotComponentsMadeByCodesBecomeUnderscores) {
    Row row;
    const std::pair<const char*, const char*> cases[] = {
        {".", "_/_"}, {"..", "__/__"}, {"...", ".../..."}, {".a", ".a/.a"}};
    for (const auto& [title, expected] : cases) {
        SetTagText(row.tag.title, title);
        EXPECT_EQ(row.Expand("%s/%s"), expected) << title;
    }
    // Codes that insert nothing or only part of the dots count too; dots the pattern writes alone
    // are the user's own folder levels.
    SetTagText(row.tag.title, ".");
    EXPECT_EQ(row.Expand("%t./.%s/%a"), "/__/"); // the separator after no track goes too
    EXPECT_EQ(row.Expand("../%s"), "../_");
    row.saveAs = "..wav";
    EXPECT_EQ(row.Expand("%n"), "_");
}

} // namespace
