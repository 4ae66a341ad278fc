// SPDX-License-Identifier: GPL-3.0-or-later
#include "kit/OutsideText.h"

#include <gtest/gtest.h>

namespace {

TEST(OutsideTextTest, ControlAndDirectionCharactersAreTakenOut) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Tide Tables", "Tide Tables"},
        {"Ünïcödé 日本", "Ünïcödé 日本"},
        {"Line\nbreak\tand\rreturn", "Line break and return"},
        {std::string("Split\0Title", 11), "SplitTitle"},
        {"Bell\x07 and DEL\x7F", "Bell and DEL"},
        {"C1 \xC2\x85 next line", "C1  next line"},
        {"photo\xE2\x80\xAEgpj.exe", "photogpj.exe"},         // U+202E, right-to-left override
        {"\xE2\x81\xA6isolated\xE2\x81\xA9", "isolated"},     // U+2066 and U+2069
        {"\xE2\x80\x8Fmark stays", "\xE2\x80\x8Fmark stays"}, // U+200F, a mark, changes no order
        {"Latin-1 Se\xF1or", "Latin-1 Se\xEF\xBF\xBDor"},
        {"overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const auto& [text, cleaned] : cases) {
        EXPECT_EQ(kit::CleanOutsideText(text), cleaned) << text;
    }
}

TEST(OutsideTextTest, BytesAreTakenAsUtf8ElseLatin1AndNothingElse) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {"Caf\xC3\xA9", "Caf\xC3\xA9"},
        {"Caf\xE9", "Caf\xC3\xA9"},
        {"", ""},
        {std::string("C\0a\0f\0", 6), std::nullopt},
        {"\xFF\xFE"
         "C",
         std::nullopt},
        {"\xFE\xFF"
         "C",
         std::nullopt},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(kit::Utf8OrLatin1(bytes), text) << bytes;
    }
}

} // namespace
