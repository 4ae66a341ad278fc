// SPDX-License-Identifier: GPL-3.0-or-later
#include "encoding/RunProgress.h"

#include "encoding/WavDuration.h"
#include "gogo/TestAudio.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// A clock the test moves by hand.
struct TestClock {
    std::chrono::steady_clock::time_point now{};
    RunProgress::Clock Clock() {
        return [this] { return now; };
    }
};

} // namespace

TEST(RunProgressTest, RowsWeighByTheirLengthAndUnknownOnesByTheAverage) {
    struct Case {
        const char* what;
        std::vector<RunProgress::Row> rows;
        double expected; // after the second row is half done
    };
    const Case cases[] = {
        {"known lengths", {{1, 10.0}, {2, 30.0}}, 15.0 / 40.0},
        {"an unknown length counts as the average", {{1, 10.0}, {2, {}}, {3, 30.0}}, 10.0 / 60.0},
        {"none known: every row alike", {{1, {}}, {2, {}}}, 0.25},
    };
    for (const Case& c : cases) {
        RunProgress progress(c.rows);
        progress.Progress(2, 0.5);
        EXPECT_DOUBLE_EQ(progress.Fraction(), c.expected) << c.what;
    }
}

TEST(RunProgressTest, TheFractionNeverGoesBackAndEndsWhole) {
    RunProgress progress({{1, 3.0}, {2, 7.0}, {3, 11.0}});
    double last = 0.0;
    const auto rises = [&] {
        EXPECT_GE(progress.Fraction(), last);
        last = progress.Fraction();
    };
    progress.Progress(1, 0.6);
    rises();
    progress.Progress(1, 0.2); // a late, smaller report
    rises();
    progress.Progress(99, 1.0); // a row not in the run
    rises();
    progress.Progress(2, 0.9);
    rises();
    progress.RowLeft(2); // a row well along leaves
    rises();
    progress.RowDone(1);
    rises();
    for (int step = 1; step <= 7; ++step) {
        progress.Progress(3, step / 7.0);
        rises();
    }
    progress.RowDone(3);
    EXPECT_EQ(progress.Fraction(), 1.0);
}

TEST(RunProgressTest, TimeLeftFollowsTheSpeedSoFarOnlyOnceSomethingIsEncoded) {
    TestClock clock;
    RunProgress progress({{1, 60.0}, {2, 60.0}}, clock.Clock());
    EXPECT_FALSE(progress.TimeLeft());
    clock.now += 10s;
    progress.Progress(1, 0.0);
    EXPECT_FALSE(progress.TimeLeft()) << "nothing encoded yet";
    progress.Progress(1, 0.5); // 30 of 120 seconds of audio in 10 s
    ASSERT_TRUE(progress.TimeLeft());
    EXPECT_EQ(*progress.TimeLeft(), 30s);
    clock.now += 30s;
    progress.RowDone(1); // slower: 60 s of audio in 40 s
    EXPECT_EQ(*progress.TimeLeft(), 40s);
    progress.RowDone(2);
    EXPECT_EQ(*progress.TimeLeft(), 0s);
}

TEST(RunProgressTest, WavLengthsComeFromTheHeader) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path root = dir.path().toStdString();
    gogotest::WriteTestWav(root / "stereo.wav", {.seconds = 1.5});
    gogotest::WriteTestWav(root / "mono.wav", {.channels = 1, .sampleRate = 22050, .seconds = 0.5});
    std::ofstream(root / "text.wav") << "not audio at all";
    EXPECT_DOUBLE_EQ(WavDurationSeconds(root / "stereo.wav").value_or(-1), 1.5);
    EXPECT_DOUBLE_EQ(WavDurationSeconds(root / "mono.wav").value_or(-1), 0.5);
    EXPECT_FALSE(WavDurationSeconds(root / "text.wav"));
    EXPECT_FALSE(WavDurationSeconds(root / "missing.wav"));
}
