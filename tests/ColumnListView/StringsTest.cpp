// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColumnListView/CLVStrings.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// A fixed-width test font: a full stop is 1 pixel wide, every other character 10. It remembers
// what it measured.
class TestFont : public kit::Font {
public:
    using kit::Font::StringWidth;
    float StringWidth(const char* text, int32_t length) const override {
        measured.emplace_back(text, static_cast<size_t>(length));
        float width = 0.0f;
        for (int32_t i = 0; i < length; i++) {
            if ((static_cast<unsigned char>(text[i]) & 0xc0) != 0x80) {
                width += text[i] == '.' ? 1.0f : 10.0f;
            }
        }
        return width;
    }
    mutable std::vector<std::string> measured;
};

std::string Truncated(const char* text, float width, int32_t size = 256,
                      const kit::Font& font = TestFont()) {
    std::string out(static_cast<size_t>(size), '#');
    GetTruncatedString(text, out.data(), width, size, &font);
    return out.c_str();
}

// Checks that each step is what the text is cut to for a width of its own.
void ExpectSteps(const char* text, const std::vector<std::string>& steps) {
    const TestFont font;
    for (const std::string& step : steps) {
        EXPECT_EQ(Truncated(text, font.StringWidth(step.c_str())), step);
        if (step != steps.back()) {
            EXPECT_NE(Truncated(text, font.StringWidth(step.c_str()) - 0.5f), step);
        }
    }
    EXPECT_EQ(Truncated(text, -1.0f), steps.back()) << "the last step, fit or not";
}

} // namespace

TEST(GetTruncatedString, NarrowsPathToFileStepByStep) {
    // Each step keeps one character less before the dots, dropping spaces before them; the
    // first character stays, with two dots, one dot, then alone.
    ExpectSteps("Path To File",
                {"Path To Fil...", "Path To Fi...", "Path To F...", "Path To...", "Path T...",
                 "Path...", "Pat...", "Pa...", "P...", "P..", "P.", "P"});
}

// The truncation measured one step at a time, for comparison (ASCII texts).
std::string TruncatedStepByStep(const std::string& text, float width, const kit::Font& font) {
    std::string out = text;
    for (auto i = static_cast<int32_t>(out.size()) - 1; i >= -2; i--) {
        if (font.StringWidth(out.c_str()) <= width) {
            break;
        }
        while (i > 0 && out[static_cast<size_t>(i - 1)] == ' ') {
            i--;
        }
        const bool spaceFirst = out[0] == ' ';
        out.resize(std::max(out.size(), static_cast<size_t>(i + 3)));
        if (i > 0 || (i == 0 && spaceFirst)) {
            out[static_cast<size_t>(i)] = '.';
        }
        if (i >= 0) {
            out[static_cast<size_t>(i + 1)] = '.';
        }
        if (i >= -1) {
            out[static_cast<size_t>(i + 2)] = '.';
        }
        out.resize(static_cast<size_t>(i + 3));
    }
    return out;
}

TEST(GetTruncatedString, HalvingFindsTheStepThatMeasuringEachStepFinds) {
    const TestFont font;
    QRandomGenerator random(7);
    for (int n = 0; n < 2000; n++) {
        std::string text(static_cast<size_t>(random.bounded(1, 30)), 'a');
        for (char& c : text) {
            c = random.bounded(4) == 0 ? ' ' : static_cast<char>('a' + random.bounded(26));
        }
        const auto width = static_cast<float>(random.bounded(-5, 300));
        ASSERT_EQ(Truncated(text.c_str(), width), TruncatedStepByStep(text, width, font))
            << '"' << text << "\" at " << width;
    }
}

TEST(GetTruncatedString, MeasuresOnlyAFewOfTheSteps) {
    const std::string text(200, 'x');
    TestFont font;
    EXPECT_EQ(Truncated(text.c_str(), 100.0f, 256, font), "xxxxxxxxx...");
    EXPECT_LE(font.measured.size(), 10u) << "halving, not one by one";
}

TEST(GetTruncatedString, LeavesATextThatFits) {
    TestFont font;
    EXPECT_EQ(Truncated("Path To File", 120.0f, 256, font), "Path To File");
    EXPECT_EQ(font.measured.size(), 1u) << "measured once";
    EXPECT_EQ(Truncated("", -1.0f), "");
    ExpectSteps(" x", {"...", "..", "."});
}

TEST(GetTruncatedString, UsesAtMostOutputSizeLessThreeBytesOfTheText) {
    EXPECT_EQ(Truncated("abcdefghij", 1000.0f, 8), "abcde");
    EXPECT_EQ(Truncated("abcdefghij", 13.0f, 8), "a...");
    EXPECT_EQ(Truncated("abc", 1000.0f, 2), "") << "no room for any text";
}

TEST(GetTruncatedString, NeverCutsInsideACharacter) {
    // "Grüße" is 7 bytes in UTF-8: G r (ü) (ß) e.
    ExpectSteps("Gr\xc3\xbc\xc3\x9f"
                "e",
                {"Gr\xc3\xbc\xc3\x9f...", "Gr\xc3\xbc...", "Gr...", "G...", "G..", "G.", "G"});
    ExpectSteps("\xc3\x9c"
                "ber",
                {"\xc3\x9c"
                 "be...",
                 "\xc3\x9c"
                 "b...",
                 "\xc3\x9c...", "\xc3\x9c..", "\xc3\x9c.", "\xc3\x9c"});
    EXPECT_EQ(Truncated("Gr\xc3\xbc\xc3\x9f", 1000.0f, 6), "Gr")
        << "a buffer cut inside ü drops it";
    EXPECT_EQ(CommonPrefixLength("Gr\xc3\xbc", "Gr\xc3\x9f"), 2);
    EXPECT_EQ(CommonPrefixLength("abc", "abd"), 2);
}

TEST(StringUtilities, CopyConcatenateAndConvert) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    Strtcpy(buffer, "ab", 6);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(std::memcmp(buffer, "ab\0\0\0\0xx", 8), 0) << "padded up to size, then left alone";
    Strtcpy(buffer, "abcdefghij", 6);
    EXPECT_STREQ(buffer, "abcde");

    const std::unique_ptr<char[]> copy(Strdup_new("copy"));
    EXPECT_STREQ(copy.get(), "copy");
    const std::unique_ptr<char[]> joined(Strcat_new("a", "bc", "", "d"));
    EXPECT_STREQ(joined.get(), "abcd");

    char text[] = "MiXed 42 \xc3\x9c";
    StrToLower(text);
    EXPECT_STREQ(text, "mixed 42 \xc3\x9c");
    StrToUpper(text);
    EXPECT_STREQ(text, "MIXED 42 \xc3\x9c");

    const char* const strings[] = {"ab", "abcd", "a"};
    float widths[3] = {};
    const TestFont font;
    EXPECT_FLOAT_EQ(GetStringsMaxWidth(strings, 3, &font, widths), 40.0f);
    EXPECT_FLOAT_EQ(widths[2], 10.0f);
}
