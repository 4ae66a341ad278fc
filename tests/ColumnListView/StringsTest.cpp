#include "ColumnListView/CLVStrings.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// A fixed-width test font: every character is 10 pixels wide. It remembers what it measured.
class TestFont : public kit::Font {
public:
    float StringWidth(const char* text, int32_t length) const override {
        measured.emplace_back(text, static_cast<size_t>(length));
        int characters = 0;
        for (int32_t i = 0; i < length; i++) {
            characters += (static_cast<unsigned char>(text[i]) & 0xc0) != 0x80 ? 1 : 0;
        }
        return 10.0f * static_cast<float>(characters);
    }
    mutable std::vector<std::string> measured;
};

std::string Truncated(const char* text, float width, int32_t size = 256,
                      const kit::Font& font = TestFont()) {
    std::string out(static_cast<size_t>(size), '#');
    GetTruncatedString(text, out.data(), width, size, &font);
    return out.c_str();
}

} // namespace

TEST(GetTruncatedString, NarrowsPathToFileStepByStep) {
    // Each step keeps one character less before the dots, dropping spaces before them; the
    // first character stays. A font that never finds the text narrow enough sees every step.
    const std::vector<std::string> steps = {
        "Path To Fil...", "Path To Fi...", "Path To F...", "Path To...", "Path T...", "Path...",
        "Pat...",         "Pa...",         "P...",         "P..",        "P.",        "P"};
    TestFont font;
    EXPECT_EQ(Truncated("Path To File", -1.0f, 256, font), "P") << "the last step, fit or not";
    ASSERT_EQ(font.measured.size(), steps.size());
    EXPECT_EQ(font.measured[0], "Path To File");
    for (size_t i = 1; i < steps.size(); i++) {
        EXPECT_EQ(font.measured[i], steps[i - 1]) << "step " << i;
    }

    // Stopping at the first step that fits: the steps shorter than the text.
    for (size_t i = 3; i < steps.size(); i++) {
        const auto width = 10.0f * static_cast<float>(steps[i].size());
        EXPECT_EQ(Truncated("Path To File", width), steps[i]);
    }
}

TEST(GetTruncatedString, LeavesATextThatFits) {
    TestFont font;
    EXPECT_EQ(Truncated("Path To File", 120.0f, 256, font), "Path To File");
    EXPECT_EQ(font.measured.size(), 1u);
    EXPECT_EQ(Truncated("", -1.0f), "");
    EXPECT_EQ(Truncated(" x", -1.0f), ".") << "a leading space is replaced, not kept";
}

TEST(GetTruncatedString, UsesAtMostOutputSizeLessThreeBytesOfTheText) {
    EXPECT_EQ(Truncated("abcdefghij", 1000.0f, 8), "abcde");
    EXPECT_EQ(Truncated("abcdefghij", 40.0f, 8), "a...");
    EXPECT_EQ(Truncated("abc", 1000.0f, 2), "") << "no room for any text";
}

TEST(GetTruncatedString, NeverCutsInsideACharacter) {
    // "Grüße" is 7 bytes in UTF-8: G r (ü) (ß) e.
    const char* text = "Gr\xc3\xbc\xc3\x9f"
                       "e";
    TestFont font;
    EXPECT_EQ(Truncated(text, -1.0f, 256, font), "G");
    const std::vector<std::string> steps = {
        text, "Gr\xc3\xbc\xc3\x9f...", "Gr\xc3\xbc...", "Gr...", "G...", "G..", "G."};
    EXPECT_EQ(font.measured, steps);
    EXPECT_EQ(Truncated(text, 1000.0f, 6), "Gr") << "a buffer cut inside ü drops it";
    EXPECT_EQ(Truncated("\xc3\x9c"
                        "ber",
                        30.0f),
              "\xc3\x9c..")
        << "a two-byte first character";
    EXPECT_EQ(Truncated("\xc3\x9c"
                        "ber",
                        -1.0f),
              "\xc3\x9c");
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
