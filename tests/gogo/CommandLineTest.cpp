// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

using namespace gogo;

namespace {

ParseResult Parse(std::vector<std::string_view> args) {
    return ParseCommandLine(args);
}

TEST(CommandLine, ReadsTheCommandTheProgramBuilds) {
    const ParseResult result =
        Parse({"/music/in put.wav", "/out/03-Intro.mp3", "-b", "128", "-cpu", "2", "-v", "4",
               "-nopsy", "-m", "j", "-priority", "7", "-delete"});
    ASSERT_TRUE(result.settings) << result.error;
    const Settings& s = *result.settings;
    EXPECT_EQ(s.input, "/music/in put.wav");
    EXPECT_EQ(s.output, "/out/03-Intro.mp3");
    EXPECT_EQ(s.bitrate, 128);
    EXPECT_EQ(s.cpuCount, 2);
    EXPECT_EQ(s.vbrLevel, 4);
    EXPECT_TRUE(s.noPsy);
    EXPECT_EQ(s.mode, ChannelMode::JointStereo);
    EXPECT_EQ(s.priority, 7);
    EXPECT_TRUE(s.deleteInput);
}

TEST(CommandLine, OptionalOptionsMayBeLeftOut) {
    const ParseResult result =
        Parse({"a.wav", "b.mp3", "-b", "320", "-cpu", "1", "-m", "m", "-priority", "10"});
    ASSERT_TRUE(result.settings) << result.error;
    EXPECT_FALSE(result.settings->vbrLevel);
    EXPECT_FALSE(result.settings->noPsy);
    EXPECT_FALSE(result.settings->deleteInput);
    EXPECT_EQ(result.settings->mode, ChannelMode::Mono);
}

TEST(CommandLine, OptionsAndFileNamesMayComeInAnyOrder) {
    const ParseResult result = Parse({"-delete", "-m", "s", "a.wav", "-priority", "1", "-v", "0",
                                      "b.mp3", "-cpu", "4", "-nopsy", "-b", "64"});
    ASSERT_TRUE(result.settings) << result.error;
    const Settings& s = *result.settings;
    EXPECT_EQ(s.input, "a.wav");
    EXPECT_EQ(s.output, "b.mp3");
    EXPECT_EQ(s.bitrate, 64);
    EXPECT_EQ(s.vbrLevel, 0);
    EXPECT_EQ(s.mode, ChannelMode::Stereo);
    EXPECT_EQ(s.priority, 1);
    EXPECT_TRUE(s.noPsy && s.deleteInput);
}

TEST(CommandLine, RejectsEverythingElseWithAReason) {
    const std::vector<std::string_view> valid{"a.wav", "b.mp3", "-b", "128",       "-cpu",
                                              "1",     "-m",    "j",  "-priority", "10"};
    struct Case {
        std::vector<std::string_view> args;
        std::string_view reason;
    };
    const std::vector<Case> cases{
        {{}, "no input file"},
        {{"a.wav", "-b", "128", "-cpu", "1", "-m", "j", "-priority", "10"}, "no output file"},
        {{"a.wav", "b.mp3", "-cpu", "1", "-m", "j", "-priority", "10"}, "-b is missing"},
        {{"a.wav", "b.mp3", "-b", "128", "-m", "j", "-priority", "10"}, "-cpu is missing"},
        {{"a.wav", "b.mp3", "-b", "128", "-cpu", "1", "-priority", "10"}, "-m is missing"},
        {{"a.wav", "b.mp3", "-b", "128", "-cpu", "1", "-m", "j"}, "-priority is missing"},
        {{"a.wav", "b.mp3", "c.mp3"}, "unexpected argument \"c.mp3\""},
        {{"a.wav", "", "-b"}, "empty file name"},
        {{"a.wav", "b.mp3", "-q", "2"}, "unknown option \"-q\""},
        {{"a.wav", "b.mp3", "-b"}, "-b needs a value"},
        {{"a.wav", "b.mp3", "-b", "128", "-b", "128"}, "-b is given twice"},
        {{"a.wav", "b.mp3", "-b", "129"}, "invalid value \"129\" for -b"},
        {{"a.wav", "b.mp3", "-b", "128k"}, "invalid value \"128k\" for -b"},
        {{"a.wav", "b.mp3", "-cpu", "0"}, "invalid value \"0\" for -cpu"},
        {{"a.wav", "b.mp3", "-v", "10"}, "invalid value \"10\" for -v"},
        {{"a.wav", "b.mp3", "-priority", "11"}, "invalid value \"11\" for -priority"},
        {{"a.wav", "b.mp3", "-m", "J"}, "-m takes s, m or j, not \"J\""},
    };
    ASSERT_TRUE(Parse(valid).settings);
    for (const Case& c : cases) {
        const ParseResult result = Parse(c.args);
        EXPECT_FALSE(result.settings) << c.reason;
        EXPECT_EQ(result.error, c.reason);
    }
}

TEST(CommandLine, PriorityTenIsNormalAndLowerPrioritiesAreNicer) {
    EXPECT_EQ(NiceValueForPriority(10), 0);
    EXPECT_EQ(NiceValueForPriority(1), 18);
    for (int p = 1; p < 10; ++p) {
        EXPECT_GT(NiceValueForPriority(p), NiceValueForPriority(p + 1));
    }
}

} // namespace
