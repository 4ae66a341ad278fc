// SPDX-License-Identifier: GPL-3.0-or-later
#include "filelist/FileNameTags.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNameTagsTest, PatternsReadTheirValuesFromNamesAndFolders) {
    struct Case {
        const char* pattern;
        const char* path;
        std::optional<FoundTags> expected; // nothing: the path does not match
    };
    const Case cases[] = {
        {"%t - %a - %s", "/m/01 - Artist - Title.wav",
         FoundTags{"Title", "Artist", "", "", "", "", 1}},
        // Digits in titles, the extension in any case, spaces around values.
        {"%t %s", "/m/07 1999.WAV", FoundTags{"1999", "", "", "", "", "", 7}},
        {"%t-%s", "/m/12-  Song .wav", FoundTags{"Song", "", "", "", "", "", 12}},
        // The first code takes as little as it can; a dot that is no WAV extension stays.
        {"%a - %s", "/m/A - B - C.wav", FoundTags{"B - C", "A", "", "", "", "", -1}},
        {"%s", "/m/Mr. Jones", FoundTags{"Mr. Jones", "", "", "", "", "", -1}},
        // Folder levels, counted from the file upwards; more levels than the path has.
        {"%a/%c (%y)/%t %s", "/m/Björk/Homogenic (1997)/03 Jóga.wav",
         FoundTags{"Jóga", "Björk", "Homogenic", "1997", "", "", 3}},
        {"%c/%s", "/m/Album/Sub/Title.wav", FoundTags{"Title", "", "Sub", "", "", "", -1}},
        {"%a/%c/%s", "/Title.wav", std::nullopt},
        {"%a/%c/%s", "Folder/Title.wav", std::nullopt},
        // Missing separators, a track without digits, a year without four.
        {"%t - %s", "/m/01 Title.wav", std::nullopt},
        {"%t %s", "/m/One Title.wav", std::nullopt},
        {"%s (%y)", "/m/Title (97).wav", std::nullopt},
        // A code twice reads the same text; "%%" is a percent sign.
        {"%a/%a - %s", "/m/X/X - T.wav", FoundTags{"T", "X", "", "", "", "", -1}},
        {"%a/%a - %s", "/m/X/Y - T.wav", std::nullopt},
        {"%s 100%%", "/m/Title 100%.wav", FoundTags{"Title", "", "", "", "", "", -1}},
        // Regular-expression characters are plain characters.
        {"[%t] %s (*)", "/m/[4] a+b (*).wav", FoundTags{"a+b", "", "", "", "", "", 4}},
        {"[%t] %s (*)", "/m/4 a+b (*).wav", std::nullopt},
        // A value of spaces only is no value.
        {"%a-%s", "/m/ -Title.wav", FoundTags{"Title", "", "", "", "", "", -1}},
        // Control and direction characters a name may hold stay out of the tags.
        {"%a-%s", "/m/Two\nLines-photo\u202Egpj.exe.wav",
         FoundTags{"photogpj.exe", "Two Lines", "", "", "", "", -1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " on " + c.path);
        const FileNameTagPattern pattern(c.pattern);
        ASSERT_EQ(pattern.Error(), "");
        const std::optional<FoundTags> found = pattern.Match(c.path);
        ASSERT_EQ(found.has_value(), c.expected.has_value());
        if (found) {
            EXPECT_EQ(found->title, c.expected->title);
            EXPECT_EQ(found->artist, c.expected->artist);
            EXPECT_EQ(found->album, c.expected->album);
            EXPECT_EQ(found->year, c.expected->year);
            EXPECT_EQ(found->track, c.expected->track);
        }
    }
}

TEST(FileNameTagsTest, PatternsWithoutUsableCodesSayWhyAndMatchNothing) {
    for (const char* unusable : {"", "no codes", "%n - %s", "%s %x", "%s %"}) {
        const FileNameTagPattern pattern(unusable);
        EXPECT_NE(pattern.Error(), "") << unusable;
        EXPECT_FALSE(pattern.Match("/m/no codes.wav")) << unusable;
    }
}

} // namespace
