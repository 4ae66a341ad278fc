// SPDX-License-Identifier: GPL-3.0-or-later
#include "tagging/ID3Struct.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(ID3StructTest, TextsAreCutZeroFilledAndTerminated) {
    ID3_struct tag{};
    std::memset(&tag, 'z', sizeof tag);

    SetTagText(tag.title, std::string(30, 'T').c_str());
    EXPECT_EQ(TagText(tag.title), std::string(30, 'T'));
    EXPECT_EQ(tag.title[30], '\0');

    SetTagText(tag.title, (std::string(30, 'U') + "V").c_str());
    EXPECT_STREQ(tag.title, std::string(30, 'U').c_str());
    EXPECT_EQ(tag.artist[0], 'z') << "the next field is untouched";

    SetTagText(tag.year, "20245");
    EXPECT_STREQ(tag.year, "2024");
    EXPECT_EQ(tag.comment[0], 'z');

    SetTagText(tag.artist, "Short");
    EXPECT_EQ(std::string(tag.artist, sizeof tag.artist), "Short" + std::string(26, '\0'));

    SetTagText(tag.artist, tag.artist + 2);
    EXPECT_STREQ(tag.artist, "ort");

    SetTagText(tag.album, nullptr);
    EXPECT_EQ(std::string(tag.album, sizeof tag.album), std::string(31, '\0'));
}

TEST(ID3StructTest, LongTextsAreNeverCutInsideACharacter) {
    struct Case {
        std::string text;
        std::string stored;
    };
    // "é" is two bytes, "€" three: the cut moves back to the start of the character it would
    // split, and a character that ends exactly at the limit is kept.
    const Case cases[] = {
        {std::string(28, 'a') + "\xC3\xA9", std::string(28, 'a') + "\xC3\xA9"},
        {std::string(29, 'a') + "\xC3\xA9", std::string(29, 'a')},
        {std::string(28, 'a') + "\xE2\x82\xAC", std::string(28, 'a')},
        {std::string(27, 'a') + "\xE2\x82\xAC!", std::string(27, 'a') + "\xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        ID3_struct tag{};
        SetTagText(tag.title, c.text.c_str());
        EXPECT_EQ(TagText(tag.title), c.stored) << c.text;
    }
    ID3_struct tag{};
    SetTagText(tag.year, "20\xC3\xA9\xC3\xA9");
    EXPECT_STREQ(tag.year, "20\xC3\xA9");
}

} // namespace
