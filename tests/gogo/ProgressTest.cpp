// SPDX-License-Identifier: GPL-3.0-or-later
#include "Progress.h"

#include "encoding/ProgressLine.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace gogo;

namespace {

std::string WithoutSpaces(std::string line) {
    std::erase(line, ' ');
    return line;
}

TEST(Progress, ClockShowsHoursMinutesSecondsAndHundredths) {
    EXPECT_EQ(FormatClock(0), "00:00:00.00");
    EXPECT_EQ(FormatClock(3725.5), "01:02:05.50");
    EXPECT_EQ(FormatClock(-3), "00:00:00.00");
    EXPECT_EQ(FormatClock(1e12), "99:59:59.99");
}

TEST(Progress, LineHasTheFormThatTheProgramScans) {
    const std::string line = FormatProgressLine(120, 4521, 2.6, 117.28, 119.4);
    EXPECT_EQ(line, "{120/4521}    2.6% re:[00:01:57.28]to:[00:01:59.40]\r");
    EXPECT_FLOAT_EQ(ScanProgressPercent(WithoutSpaces(line).c_str(), -1.0f), 2.6f);
}

struct Recorder {
    std::vector<std::string> lines;
    double now = 0.0;
    ProgressReporter reporter{[this](std::string_view line) { lines.emplace_back(line); },
                              [this] { return now; }};
};

TEST(Progress, ReportsEveryTenthOfAPercentInOrderAndOneHundredOnlyAtTheEnd) {
    Recorder recorder;
    for (int step = 0; step <= 100000; ++step) {
        recorder.now = step * 0.001;
        recorder.reporter.Update(step / 10, 10000, step / 100000.0);
    }
    recorder.reporter.Finish(10000);

    ASSERT_EQ(recorder.lines.size(), 1001u); // 0.0 to 99.9, then 100.0
    float previous = -1.0f;
    for (std::size_t i = 0; i < recorder.lines.size(); ++i) {
        const float percent = ScanProgressPercent(WithoutSpaces(recorder.lines[i]).c_str(), -1.0f);
        EXPECT_NEAR(percent, i / 10.0, 1e-4) << recorder.lines[i];
        EXPECT_GT(percent, previous);
        previous = percent;
    }
    EXPECT_EQ(recorder.lines.back(), "{10000/10000}  100.0% re:[00:00:00.00]to:[00:01:40.00]\r");
}

TEST(Progress, EstimatesTheRemainingAndTheTotalTime) {
    Recorder recorder;
    recorder.now = 30.0;
    recorder.reporter.Update(250, 1000, 0.25);
    EXPECT_EQ(recorder.lines.back(), "{250/1000}   25.0% re:[00:01:30.00]to:[00:02:00.00]\r");
}

} // namespace
